// SPDX-License-Identifier: GPL-3.0-or-later
// The in-memory record set: byte-size limits, row numbers, states and the current-row notification.
#include "TestDb.h"
#include "grid/ClientDataSet.h"

#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::G;

namespace {
std::vector<TFieldDef> threeFields() {
    return {{G("线路"), 28}, {G("始发-->终点站"), 35}, {G("备注"), 29}};
}

void append(TClientDataSet &ds, const std::string &a, const std::string &b = "", const std::string &c = "") {
    ds.AppendRow({{G("线路"), a}, {G("始发-->终点站"), b}, {G("备注"), c}});
}
} // namespace

TEST(StoredValue, CutByBytesAndStopAtNul) {
    std::string thirty = G("一二三四五六七八九十一二三四五");
    ASSERT_EQ(thirty.size(), 30u);
    EXPECT_EQ(TClientDataSet::storedValue(thirty, 28), thirty.substr(0, 28));
    std::string exact = thirty.substr(0, 28);
    EXPECT_EQ(TClientDataSet::storedValue(exact, 28), exact);
    // 34 ASCII bytes then a double-byte character: byte 35 is a lead byte, which stays alone.
    std::string straddle = std::string(34, 'a') + G("站");
    std::string kept(TClientDataSet::storedValue(straddle, 35));
    ASSERT_EQ(kept.size(), 35u);
    EXPECT_EQ(static_cast<unsigned char>(kept.back()), 0xD5);
    EXPECT_EQ(TClientDataSet::storedValue(std::string("ab\0cd", 5), 29), "ab");
    EXPECT_EQ(TClientDataSet::storedValue("", 29), "");
}

TEST(RecordSet, ClosedUntilResetThenOpenAndEmptyWithoutNotification) {
    TClientDataSet ds;
    int scrolls = 0;
    ds.AfterScroll = [&] { ++scrolls; };
    EXPECT_EQ(ds.state(), TClientDataSet::dsInactive);
    EXPECT_TRUE(ds.fields().empty());
    EXPECT_EQ(ds.recNo(), 0);
    ds.MoveTo(1); // a user's move on a closed table does nothing
    ds.ResetTable(threeFields());
    EXPECT_EQ(ds.state(), TClientDataSet::dsBrowse);
    EXPECT_EQ(ds.fields().size(), 3u);
    EXPECT_EQ(ds.recordCount(), 0);
    EXPECT_EQ(scrolls, 0);
}

TEST(RecordSet, AppendNotifiesWithMinusOneAndPostsSilently) {
    TClientDataSet ds;
    ds.ResetTable(threeFields());
    std::vector<std::pair<int, TClientDataSet::State>> seen;
    ds.AfterScroll = [&] { seen.push_back({ds.recNo(), ds.state()}); };
    append(ds, G("一二三四五六七八九十一二三四五"), "s", "n");
    append(ds, "2");
    append(ds, "3");
    ASSERT_EQ(seen.size(), 3u);
    for (auto &[recNo, state] : seen) {
        EXPECT_EQ(recNo, -1);
        EXPECT_EQ(state, TClientDataSet::dsAppend);
    }
    EXPECT_EQ(ds.state(), TClientDataSet::dsBrowse);
    EXPECT_EQ(ds.recNo(), 3); // the posted row is current
    EXPECT_EQ(ds.value(0, 0).size(), 28u);
    EXPECT_EQ(ds.value(0, 2), "n");
    ds.MoveFirst();
    ds.MoveFirst(); // also when row 1 is already current
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[3].first, 1);
    EXPECT_EQ(seen[4].first, 1);
}

TEST(RecordSet, UserMovesNotifyOnlyOnChange) {
    TClientDataSet ds;
    ds.ResetTable(threeFields());
    for (const char *s : {"a", "b", "c"})
        append(ds, s);
    ds.MoveFirst();
    std::vector<int> seen;
    ds.AfterScroll = [&] { seen.push_back(ds.recNo()); };
    ds.MoveTo(2);
    ds.MoveTo(2);
    ds.MoveTo(0);
    ds.MoveTo(4);
    ds.MoveTo(3);
    EXPECT_EQ(seen, (std::vector<int>{2, 3}));
}

TEST(RecordSet, ResetReplacesRowsEntirely) {
    TClientDataSet ds;
    ds.ResetTable(threeFields());
    for (int i = 0; i < 3; ++i)
        append(ds, std::to_string(i));
    ds.ResetTable(threeFields());
    for (int i = 0; i < 5; ++i)
        append(ds, "r" + std::to_string(i));
    ds.MoveFirst();
    EXPECT_EQ(ds.recordCount(), 5);
    EXPECT_EQ(ds.value(4, 0), "r4");
    EXPECT_EQ(ds.recNo(), 1);
}

TEST(RecordSet, UnknownFieldAndAppendOnClosedTableRaise) {
    TClientDataSet ds;
    EXPECT_THROW(append(ds, "x"), std::exception);
    ds.ResetTable(threeFields());
    EXPECT_THROW(ds.AppendRow({{"nope", "x"}}), std::exception);
}

TEST(RecordSet, ABadFieldNameLeavesNoHalfMadeRow) {
    TClientDataSet ds;
    ds.ResetTable(threeFields());
    EXPECT_THROW(ds.AppendRow({{G("线路"), "a"}, {"nope", "x"}}), std::exception);
    EXPECT_EQ(ds.recordCount(), 0);
    EXPECT_EQ(ds.state(), TClientDataSet::dsBrowse);
}
