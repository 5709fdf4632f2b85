#pragma once
// The manual page of wachtrix-report, written from the same tables as its --help: the models
// with their keys and ranges, the options and the exit codes.
//
//   ManPage("2.0") -> ".TH WACHTRIX\-REPORT 1 ..." (roff for man(7))

#include <span>
#include <string>
#include <string_view>

namespace wachtrix::cli {

// An example call for the manual page, words after the program name; the tests run each one.
struct ManExample {
    std::string_view what;
    std::string_view words;
};
std::span<const ManExample> ManExamples();

// "a-b\c" -> "a\-b\ec"; a leading "." or "'" is kept from reading as a request.
std::string RoffEscape(std::string_view text);

std::string ManPage(std::string_view version);

}  // namespace wachtrix::cli
