#include <QLocale>
#include <QSettings>

#include "core/numeric/allocator_reuse.h"
#include "ui/common/app_settings.h"
#include "ui/markov/markov_progress.h"
#include "ui/shell/about_box.h"
#include "ui/shell/pelmo_main.h"
#include "ui/shell/wachtrix_application.h"

int main(int argc, char* argv[]) {
    using namespace wachtrix::ui;
    wachtrix::KeepFreedMemoryForReuse();
    // Numbers are read and written with "." as the decimal separator, whatever the user's locale.
    QLocale::setDefault(QLocale::c());

    TWachtrixApplication app(argc, argv);
    // --version answers with the command's name; the windows then carry the program's title.
    QApplication::setApplicationName("wachtrix");
    QApplication::setApplicationVersion(ProgramVersion());
    const ProgramOptions options = ReadProgramOptions(QApplication::arguments());
    QApplication::setApplicationName("Pelmo voor Windows");
    // Lets the desktop match the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(WACHTRIX_APP_ID);

    // The platform's usual place: ~/.config/Wachtrix/Wachtrix.conf, the registry on Windows.
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, "Wachtrix", "Wachtrix");
    AppSettings settings(store);
    if (options.resetSettings) settings.clear();

    TPelmoMain window(nullptr, &settings);
    auto* progress = new TMarkovProgress(&window);
    SetMarkovProgress(progress);
    window.showRestored();
    const int result = TWachtrixApplication::exec();
    SetMarkovProgress(nullptr);
    return result;
}
