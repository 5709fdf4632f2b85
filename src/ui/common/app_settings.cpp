#include "ui/common/app_settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QSettings>
#include <QSpinBox>
#include <QVariant>
#include <QWidget>
#include <algorithm>

#include "ui/common/radio_group.h"

namespace wachtrix::ui {
namespace {

const char* const kRecentChainsKey = "RecentChains";

QString FolderKey(AppSettings::Folder purpose) {
    switch (purpose) {
        case AppSettings::Folder::Open:
            return "Folders/open";
        case AppSettings::Folder::Save:
            return "Folders/save";
        case AppSettings::Folder::Export:
            return "Folders/export";
    }
    return {};
}

// The checked readings of a stored value. An INI file gives every plain value back as a string,
// other stores their own types; anything else is someone else's value and passed over.
std::optional<QString> Text(const QVariant& value) {
    if (value.typeId() != QMetaType::QString) return std::nullopt;
    return value.toString();
}

std::optional<int> Whole(const QVariant& value, int low, int high) {
    bool ok = false;
    qlonglong number = 0;
    switch (value.typeId()) {
        case QMetaType::QString:
            number = value.toString().trimmed().toLongLong(&ok);  // digits only, no locale
            break;
        case QMetaType::Int:
        case QMetaType::LongLong:
            number = value.toLongLong(&ok);
            break;
        default:
            break;
    }
    if (!ok || number < low || number > high) return std::nullopt;
    return static_cast<int>(number);
}

std::optional<bool> Flag(const QVariant& value) {
    if (value.typeId() == QMetaType::Bool) return value.toBool();
    const std::optional<QString> text = Text(value);
    if (text == "true") return true;
    if (text == "false") return false;
    return std::nullopt;
}

// Qt's own parts of a widget (a spin box's edit, "qt_spinbox_lineedit") and unnamed ones, such
// as a grid's cell editor, are not inputs of the window.
bool IsInput(const QWidget* widget) {
    const QString name = widget->objectName();
    return !name.isEmpty() && !name.startsWith("qt_");
}

}  // namespace

AppSettings::AppSettings(QSettings& store) : store_(store) {}

void AppSettings::saveWindow(const QWidget& window, const QString& key) {
    if (windowsForgotten_) return;
    store_.setValue(key + "/geometry", window.saveGeometry());
}

bool AppSettings::restoreWindow(QWidget& window, const QString& key) const {
    const QVariant geometry = store_.value(key + "/geometry");
    return geometry.typeId() == QMetaType::QByteArray &&
           window.restoreGeometry(geometry.toByteArray());
}

void AppSettings::saveIndex(const QString& key, int index) {
    if (windowsForgotten_) return;
    store_.setValue(key, index);
}

std::optional<int> AppSettings::index(const QString& key, int count) const {
    return Whole(store_.value(key), 0, count - 1);
}

void AppSettings::saveInputs(const QWidget& root, const QString& key) {
    if (windowsForgotten_) return;
    store_.beginGroup(key);
    for (const QWidget* widget : root.findChildren<QWidget*>()) {
        if (!IsInput(widget)) continue;
        const QString name = widget->objectName();
        if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
            // A disabled edit shows what the choices fix, not what the user typed.
            if (edit->isEnabled() && !edit->isReadOnly()) store_.setValue(name, edit->text());
        } else if (const auto* group = qobject_cast<const RadioGroup*>(widget)) {
            store_.setValue(name, group->itemIndex());
        } else if (const auto* box = qobject_cast<const QCheckBox*>(widget)) {
            store_.setValue(name, box->isChecked());
        } else if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
            store_.setValue(name, combo->currentIndex());
        } else if (const auto* spin = qobject_cast<const QSpinBox*>(widget)) {
            store_.setValue(name, spin->value());
        }
    }
    store_.endGroup();
}

void AppSettings::restoreInputs(QWidget& root, const QString& key) const {
    store_.beginGroup(key);
    const QList<QWidget*> widgets = root.findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        if (!IsInput(widget) || !store_.contains(widget->objectName())) continue;
        const QVariant value = store_.value(widget->objectName());
        if (auto* group = qobject_cast<RadioGroup*>(widget)) {
            if (const auto item = Whole(value, 0, group->count() - 1)) group->setItemIndex(*item);
        } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            if (const auto checked = Flag(value)) box->setChecked(*checked);
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            if (const auto item = Whole(value, 0, combo->count() - 1))
                combo->setCurrentIndex(*item);
        } else if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
            if (const auto number = Whole(value, spin->minimum(), spin->maximum()))
                spin->setValue(*number);
        }
    }
    for (QWidget* widget : widgets) {
        auto* edit = qobject_cast<QLineEdit*>(widget);
        if (!edit || !IsInput(edit) || !edit->isEnabled() || edit->isReadOnly()) continue;
        const std::optional<QString> text = Text(store_.value(edit->objectName()));
        if (text && text->size() <= edit->maxLength()) edit->setText(*text);
    }
    store_.endGroup();
}

QString AppSettings::folder(Folder purpose) const {
    const std::optional<QString> folder = Text(store_.value(FolderKey(purpose)));
    return folder && QFileInfo(*folder).isDir() ? *folder : QString();
}

void AppSettings::setFolder(Folder purpose, const QString& folder) {
    store_.setValue(FolderKey(purpose), folder);
}

QStringList AppSettings::recentChains() const {
    QStringList files;
    // However many entries a file claims, no more than the list holds are read.
    const int size = std::min(store_.beginReadArray(kRecentChainsKey), kRecentChains);
    for (int i = 0; i < size; ++i) {
        store_.setArrayIndex(i);
        const std::optional<QString> file = Text(store_.value("file"));
        if (file && !file->isEmpty() && !files.contains(*file)) files << *file;
    }
    store_.endArray();
    return files;
}

void AppSettings::addRecentChain(const QString& file) {
    const QString path = QFileInfo(file).absoluteFilePath();
    QStringList files = recentChains();
    files.removeAll(path);
    files.prepend(path);
    writeRecentChains(files.mid(0, kRecentChains));
}

void AppSettings::removeRecentChain(const QString& file) {
    QStringList files = recentChains();
    files.removeAll(file);
    writeRecentChains(files);
}

void AppSettings::writeRecentChains(const QStringList& files) {
    store_.remove(kRecentChainsKey);
    store_.beginWriteArray(kRecentChainsKey, static_cast<int>(files.size()));
    for (int i = 0; i < files.size(); ++i) {
        store_.setArrayIndex(i);
        store_.setValue("file", files[i]);
    }
    store_.endArray();
}

void AppSettings::clear() {
    store_.clear();
    store_.sync();
}

void AppSettings::reset() {
    clear();
    windowsForgotten_ = true;
}

}  // namespace wachtrix::ui
