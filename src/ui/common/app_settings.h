#pragma once
// What the program remembers from one session to the next, kept in one QSettings store (the
// platform's usual place for the program; the tests give an INI file of their own). Windows call
// it as they open and close; a window given no AppSettings remembers nothing.
//
// Reading never stops the program: every value is checked on its own, and one of the wrong type,
// out of range or unreadable is passed over, leaving the window's default for it alone.
//   [QueueWindow] tab=3                        a tab index, used when the window has that tab
//   [QueueWindow/inputs] MMC_C_edit=2          an edit's text, as typed
//   [QueueWindow/inputs] MMC_Output_RadioGroup=1
//   [MainWindow] geometry=@ByteArray(...)      place, size and maximized state

#include <QString>
#include <QStringList>
#include <optional>

class QSettings;
class QWidget;

namespace wachtrix::ui {

class AppSettings {
public:
    explicit AppSettings(QSettings& store);

    // A top-level window's place, size and maximized state.
    void saveWindow(const QWidget& window, const QString& key);
    // False when nothing usable was remembered: the window stays as it was.
    bool restoreWindow(QWidget& window, const QString& key) const;

    void saveIndex(const QString& key, int index);
    // The remembered index when it lies in [0, count).
    std::optional<int> index(const QString& key, int count) const;

    // The inputs below `root`, by objectName: the texts of the enabled edits, the chosen items of
    // radio groups and combo boxes, tick boxes and spin box values. Choices are restored before
    // texts, so that an edit the choices disable keeps the text they give it.
    void saveInputs(const QWidget& root, const QString& key);
    void restoreInputs(QWidget& root, const QString& key) const;

    // The folders the file dialogs last opened in, one per purpose: empty when none is
    // remembered or it is gone.
    enum class Folder { Open, Save, Export };
    QString folder(Folder purpose) const;
    void setFolder(Folder purpose, const QString& folder);

    // The chain files last opened or saved, newest first, at most kRecentChains.
    static constexpr int kRecentChains = 8;
    QStringList recentChains() const;
    void addRecentChain(const QString& file);
    void removeRecentChain(const QString& file);

    // Forgets everything remembered so far (the program's --reset-settings, before any window).
    void clear();
    // Forgets everything, and the windows open now are not remembered when they close, so that
    // the next session starts as a first one; folders and chains used from here on are.
    void reset();

private:
    void writeRecentChains(const QStringList& files);

    QSettings& store_;
    bool windowsForgotten_ = false;
};

}  // namespace wachtrix::ui
