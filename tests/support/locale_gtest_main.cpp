// The main of the tests that also run under other locales: it takes the locale the environment
// names for the C library and for C++, as the program does (QApplication adopts the user's
// locale), so that a run under LC_ALL=nl_NL.UTF-8 proves the numbers do not follow it.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale>

int main(int argc, char** argv) {
    if (std::setlocale(LC_ALL, "")) {
        std::locale::global(std::locale(""));
    } else if (const char* wanted = std::getenv("LC_ALL"); wanted && *wanted) {
        // A locale run without its locale would prove nothing.
        const char* path = std::getenv("LOCPATH");
        std::fprintf(stderr, "The locale %s cannot be loaded (LOCPATH=%s).\n", wanted,
                     path ? path : "");
        return 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
