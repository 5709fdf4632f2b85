// Writes at build time what lists the program's capabilities, from the registry:
//   wachtrix-man-page VERSION DIR          the manual pages wachtrix.1 and wachtrix-report.1
//   wachtrix-man-page --metainfo IN OUT    the metainfo, IN's "<!-- capabilities -->" line filled
//   wachtrix-man-page --description OUT    the Debian package's long description

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "cli/capabilities.h"
#include "cli/commands.h"
#include "cli/man_page.h"
#include "core/text/file_writer.h"

namespace {

bool Write(const std::string& path, const std::string& text) {
    const std::string why = wachtrix::WriteFileSafely(path, text);
    if (why.empty()) return true;
    std::cerr << "wachtrix-man-page: cannot write " << path << ": " << why << "\n";
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    using namespace wachtrix::cli;
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "--metainfo" && argc == 4) {
        std::ifstream in(argv[2]);
        std::ostringstream text;
        for (std::string line; std::getline(in, line);)
            text << (line.find("<!-- capabilities -->") != std::string::npos ? MetainfoDescription()
                                                                       : line)
                 << "\n";
        return in.eof() && Write(argv[3], text.str()) ? 0 : 1;
    }
    if (mode == "--description" && argc == 3) return Write(argv[2], PackageDescription()) ? 0 : 1;
    if (argc == 3 && mode.rfind("--", 0) != 0) {
        const std::string dir = argv[2];
        return Write(dir + "/wachtrix-report.1", ManPage(argv[1])) &&
                       Write(dir + "/wachtrix.1", ProgramManPage(argv[1]))
                   ? 0
                   : 1;
    }
    std::cerr << "usage: wachtrix-man-page VERSION DIR | --metainfo IN OUT | --description OUT\n";
    return 2;
}
