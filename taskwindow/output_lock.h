#pragma once
// The lock on a task window's output buttons. The buttons stay disabled (light grey) until the
// window's completeness check passes, then enabled (light yellow); moving the focus into one of
// the point's input controls locks them again, so every edit has to be checked anew before
// anything is written.

#include <QColor>
#include <QList>
#include <QObject>

class QPushButton;
class QWidget;

namespace sw {

inline const QColor kLockedButtonColour{224, 224, 224};
inline const QColor kUnlockedButtonColour{255, 255, 192};

// Fills a widget's background with `background` and draws its text in `text`, in every state,
// so disabled controls keep the colour the window gave them.
void setBackground(QWidget* widget, const QColor& background, const QColor& text = Qt::black);

class OutputLock : public QObject {
    Q_OBJECT
public:
    OutputLock(QList<QPushButton*> buttons, QObject* parent = nullptr);

    void lock();   // disabled, light grey
    void unlock(); // enabled, light yellow
    bool isUnlocked() const { return unlocked_; }

    // Locks whenever `control` receives the focus from within its window (a click, Tab, a
    // mnemonic or setFocus). Getting it back when the window is re-activated, or when a message
    // box or drop-down closes, does not count: the focus never moved to it.
    void lockOnFocus(QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QPushButton*> buttons_;
    bool unlocked_ = false;
};

} // namespace sw
