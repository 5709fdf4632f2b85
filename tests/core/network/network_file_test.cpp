// The network file: what it accepts, what it refuses and why (a table in
// tests/data/network_refusals.txt), and a save read back unchanged.

#include <gtest/gtest.h>

#include <string>

#include "core/network/network_file.h"
#include "core/network/network_texts.h"
#include "support/data_file.h"
#include "support/temp_folder.h"

namespace wachtrix {
namespace {

// The rows write a file's lines separated by "/".
std::string FileText(std::string row) {
    for (char& c : row)
        if (c == '/') c = '\n';
    return row;
}

// What reading, then checking, says about a file: the reading's reason or the first fault.
std::string Verdict(const std::string& text) {
    const NetworkReading reading = ParseNetworkText(text);
    if (!reading.network) return "unreadable: " + reading.reason;
    const CheckedNetwork checked = CheckNetwork(*reading.network);
    return checked.network ? "accepted" : checked.fault.message;
}

TEST(NetworkFile, RefusesWithTheReasonAndAcceptsTheRest) {
    const auto rows = testing::ReadDataFile("network_refusals.txt")[""];
    EXPECT_GT(rows.size(), 20u);
    for (const testing::DataLine& row : rows) {
        const auto fields = testing::Fields(row.text, 2);
        EXPECT_EQ(Verdict(FileText(fields.at(0))), fields.at(1)) << row.where;
    }
}

TEST(NetworkFile, NamesTheCellOfARefusal) {
    const CheckedNetwork cell = CheckNetwork(
        ParseNetworkText(FileText("2/3/1 1/1 1/1 1/5/0 1 0/0 0 1/1 -0.5 0.5")).network.value());
    EXPECT_EQ(cell.fault.part, NetworkPart::RoutingCell);
    EXPECT_EQ(cell.fault.row, 2);
    EXPECT_EQ(cell.fault.column, 1);
}

TEST(NetworkTexts, ReadAsTheFileAndNameTheCellThatIsNoNumber) {
    const NetworkInput open =
        ParseNetworkText(FileText("1/2/2 0.5/0 1E-003/1.5 0.25/0 0.6/0.2 0")).network.value();
    const NetworkTexts texts = TextsOf(open);
    EXPECT_EQ(texts.serviceTimes, (std::vector<std::string>{"0.5", "0.001"}));
    const NetworkTextReading read = ReadNetworkTexts(texts);
    ASSERT_TRUE(read.input) << read.fault.message;
    EXPECT_EQ(NetworkFileText(*read.input), NetworkFileText(open));

    struct Slip {
        std::string* cell;
        NetworkFault fault;
    };
    NetworkTexts typed = texts;
    const Slip slips[] = {
        {&typed.servers[1],
         {"Station 2: the number of servers \"x\" is not a number.", NetworkPart::Servers, 1}},
        {&typed.serviceTimes[0],
         {"Station 1: the mean service time \"x\" is not a number.", NetworkPart::ServiceTime}},
        {&typed.arrivalRates[1],
         {"Station 2: the external arrival rate \"x\" is not a number.", NetworkPart::ArrivalRate,
          1}},
        {&typed.routing[1][0],
         {"The routing probability r(2,1) \"x\" is not a number.", NetworkPart::RoutingCell, 1, 0}},
    };
    for (const Slip& slip : slips) {
        const std::string kept = *slip.cell;
        *slip.cell = "x";
        EXPECT_EQ(ReadNetworkTexts(typed).fault, slip.fault);
        *slip.cell = kept;
    }
    NetworkTexts closed = TextsOf(ParseNetworkText(FileText("2/1/1 1/5/1")).network.value());
    closed.population = "5.5";
    EXPECT_EQ(ReadNetworkTexts(closed).fault.message,
              "The population \"5.5\" is not a whole number.");
}

using NetworkSave = testing::TempFolder;

TEST_F(NetworkSave, ReadsBackWhatItWrote) {
    const std::string text = FileText(
        "2/3/0 12.5/1 0.35/17 1.23456789012345E-007/1000/0 0.35 0.65/1 0 0/0.25 0.25 0.5/");
    const NetworkInput written = ParseNetworkText(text).network.value();
    EXPECT_EQ(NetworkFileText(written), text);
    EXPECT_EQ(WriteNetworkFile(At("net.txt"), written), "");
    const NetworkReading read = ReadNetworkFile(At("net.txt"));
    ASSERT_TRUE(read.network) << read.reason;
    EXPECT_EQ(read.network->servers, written.servers);
    EXPECT_EQ(read.network->serviceTimes, written.serviceTimes);
    EXPECT_EQ(read.network->population, 1000);
    EXPECT_EQ(read.network->routing, written.routing);
    EXPECT_EQ(testing::ReadFile(At("net.txt")), text);
    EXPECT_EQ(Listing(), std::vector<std::string>{"net.txt"});  // no temporary file left
}

TEST_F(NetworkSave, LeavesTheOldFileWhenTheWriteFails) {
    const NetworkInput network = ParseNetworkText(FileText("1/1/1 1/0.5/0")).network.value();
    EXPECT_NE(WriteNetworkFile(At("missing/net.txt"), network), "");
    EXPECT_EQ(ReadNetworkFile(At("absent.txt")).reason, "the file cannot be opened");
}

}  // namespace
}  // namespace wachtrix
