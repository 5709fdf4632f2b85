// Writes the manual page of wachtrix-report at build time: man_page VERSION FILE.

#include <iostream>

#include "cli/commands.h"
#include "cli/man_page.h"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::cerr << "usage: wachtrix-man-page VERSION FILE\n";
        return 2;
    }
    if (!wachtrix::cli::WriteFileReplacing(argv[2], wachtrix::cli::ManPage(argv[1]))) {
        std::cerr << "wachtrix-man-page: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
