#include "testsupport/accessibility_walk.h"

#include <QAccessible>
#include <QMetaEnum>
#include <QWidget>

namespace sw::test {
namespace {

std::string roleKey(QAccessible::Role role) {
    const char* key = QMetaEnum::fromType<QAccessible::Role>().valueToKey(role);
    return key != nullptr ? key : std::to_string(static_cast<int>(role));
}

// What the name says once the mnemonic marks and blanks are gone.
bool says(const QString& text) {
    return !QString(text).remove(QLatin1Char('&')).trimmed().isEmpty();
}

std::string segment(const QAccessibleInterface* node) {
    const QObject* object = node->object();
    if (object == nullptr) {
        return "?";
    }
    return object->objectName().isEmpty() ? object->metaObject()->className()
                                          : object->objectName().toStdString();
}

void walk(QAccessibleInterface* node, const std::string& parentPath,
          std::vector<AccessibleNode>& out) {
    if (node == nullptr || !node->isValid()) {
        return;
    }
    AccessibleNode n;
    n.role = roleKey(node->role());
    n.path = parentPath.empty() ? segment(node) : parentPath + "/" + segment(node);
    n.name = node->text(QAccessible::Name).toStdString();
    n.description = node->text(QAccessible::Description).toStdString();
    for (const auto& [label, relation] : node->relations(QAccessible::Label)) {
        if (label != nullptr && n.labelledBy.empty()) {
            n.labelledBy = label->text(QAccessible::Name).toStdString();
        }
    }
    out.push_back(n);
    for (int i = 0; i < node->childCount(); ++i) {
        walk(node->child(i), n.path, out);
    }
}

bool isControl(const std::string& role) {
    static const char* const controls[] = {
        "Button",   "CheckBox",   "RadioButton",    "EditableText",
        "ComboBox", "SpinBox",    "Slider",         "ScrollBar",
        "Dial",     "ButtonMenu", "ButtonDropDown", "ButtonDropGrid",
        "PageTab",  "List",       "Table",          "Tree",
        "Link"};
    for (const char* c : controls) {
        if (role == c) {
            return true;
        }
    }
    return false;
}

} // namespace

std::vector<AccessibleNode> accessibilityTree(QWidget* window) {
    std::vector<AccessibleNode> out;
    walk(QAccessible::queryAccessibleInterface(window), "", out);
    return out;
}

std::vector<std::string> unnamedControls(QWidget* window) {
    std::vector<std::string> problems;
    const std::vector<AccessibleNode> tree = accessibilityTree(window);
    for (std::size_t i = 0; i < tree.size(); ++i) {
        const AccessibleNode& n = tree[i];
        const std::string where = n.role + " " + n.path + ": ";
        if (i == 0) {
            if (n.role != "Window" && n.role != "Dialog") {
                problems.push_back(where + "not announced as a window");
            }
            if (!says(QString::fromStdString(n.name))) {
                problems.push_back(where + "no name");
            }
        } else if (isControl(n.role) && !says(QString::fromStdString(n.name))) {
            problems.push_back(where + "no name");
        } else if (n.role == "StaticText" && !says(QString::fromStdString(n.name)) &&
                   n.labelledBy.empty() && n.description.empty()) {
            problems.push_back(where + "an empty text that nothing labels or describes");
        }
    }
    return problems;
}

} // namespace sw::test
