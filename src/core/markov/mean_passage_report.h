#pragma once
// The "MEAN PASSAGE AND ABSORPTION" report. Tables are cut into blocks of five columns, so that
// a line stays within 80 characters, and each is followed by a copy as comma-separated values
// with 15 significant digits. Both rows of p (0.25, 0.75):
//
//   =================================
//      MEAN PASSAGE AND ABSORPTION
//   =================================
//
//   Mean first-passage times m(i,j) in steps
//   (m(i,i) is the mean return time to state i)
//
//             To 1          To 2
//   From 1    4.0000000     1.3333333
//   From 2    4.0000000     1.3333333
//   ...
//   Accuracy check: 0.0000000000

#include <string>
#include <vector>

#include "core/markov/chain_data.h"

namespace wachtrix {

// The four header lines, also what a report that gave up starts with.
std::vector<std::string> MeanPassageHeader();

// An irreducible chain gets its mean first-passage times, a chain with transient states what
// happens until absorption, any other chain a note that neither applies.
std::vector<std::string> MeanPassageReport(const ChainData& chain);

}  // namespace wachtrix
