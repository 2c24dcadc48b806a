#pragma once
// What the converter's entry fields share, in the window and in its township-range-section
// panel: how a field and its labels are made and laid out, and how a field behaves when the
// user enters it.

#include <QString>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QFocusEvent;
class QGridLayout;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QWidget;

namespace sw::entry {

inline QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string str(const QString& text) {
    return text.toStdString();
}

// The active notation's headings and labels, and the two result values, stand out in light
// yellow; the others take the neutral colour of window frames.
inline constexpr const char* activeStyle = "background-color: rgb(255, 255, 128); color: black;";
inline constexpr const char* inactiveStyle = "background-color: palette(midlight); color: black;";

QLabel* makeLabel(QWidget* parent, std::string_view name, const QString& text);

// A small digit field, centred, as wide as its longest text.
QLineEdit* makeDigitField(QWidget* parent, std::string_view name, int maxLength,
                          std::string_view text);

// A notation's group box: its heading above a grid of rows (label, then parts); `grid` is
// where the rows go.
QGroupBox* entryBox(QWidget* parent, std::string_view name, QLabel* heading, QGridLayout*& grid);
void fillEntryBox(QGroupBox* box, QLabel* heading, QGridLayout*& grid);
void addRow(QGridLayout* grid, int row, QLabel* label, const std::vector<QWidget*>& parts);

// Focus that moves because a window (ours or another) was activated or a popup opened is not
// the user entering or leaving a field.
bool userFocusReason(const QFocusEvent* focus);

// A key that inserts a character, as opposed to navigation, deletion and shortcuts, which the
// key filters leave alone.
bool insertsText(const QKeyEvent* key);

// On entering a field the whole text is selected, so the next digit replaces it; a mouse click
// would place the caret after this, so it is selected again once the click is through.
void selectOnEntry(QLineEdit* edit, const QFocusEvent* focus);

// Puts a text into a field as the program does: signals held back, the caret at the start (a
// field filled by the program keeps the focus when auto-advance looks at it).
void showProgramText(QLineEdit* edit, const QString& text);

// Gives the focus back to a field once the move that is under way has ended, selected, so
// the next try starts afresh.
void returnFocusTo(QLineEdit* edit);

// The text before the caret once the selection is replaced: what a typed character follows.
QString textBeforeTyping(const QLineEdit* edit);

// Sends whatever is pasted into `edit` (the paste keys, the context menu's Paste, a drop, the
// middle button's selection) to `pasted` first; when it returns false the field takes the text
// as usual, through its validator.
void routePastes(QLineEdit* edit, std::function<bool(const QString&)> pasted);

} // namespace sw::entry
