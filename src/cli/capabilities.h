#pragma once
// What the program can do, in the words every place that lists it uses (the program's manual
// page, the software centres' metainfo, the package description), written from the registry of
// queue models and the Markov analyses, so that no list of them is kept by hand.
//
//   QueueModelTitles() -> {"M/G/1", "D/G/1", "M/M/c", ..., "Transient M/M/1"}
//   MarkovAnalysisTitles() -> {"chain structure", "steady state", ...}

#include <string>
#include <string_view>
#include <vector>

namespace wachtrix::cli {

// Every queue model of the registry but Staffing, by its help title.
std::vector<std::string> QueueModelTitles();

// The five Markov analyses, in the order of the Markov dialog.
std::vector<std::string> MarkovAnalysisTitles();

// "a, b and c"
std::string JoinedList(const std::vector<std::string>& items);

// The manual page of the program itself.
std::string ProgramManPage(std::string_view version);

// The metainfo's description element, for the template's "<!-- capabilities -->" line.
std::string MetainfoDescription();

// The Debian package's long description, lines of at most 78 characters.
std::string PackageDescription();

}  // namespace wachtrix::cli
