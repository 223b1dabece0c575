// SPDX-License-Identifier: GPL-3.0-or-later
// The in-memory record set behind the result grid: text fields with byte-size limits, rows in append order,
// a current row with its row number, and the notifications the main window and the grid listen to.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora {

struct TFieldDef {
    std::string name;   // GBK; also the column title
    int size;           // bytes kept of a stored value
    bool whole = false; // keeps values whole (up to a NUL): `size` then sets only the column's width
};

class TClientDataSet {
public:
    enum State { dsInactive, dsBrowse, dsAppend };

    // What a view of the record set needs to follow it; called before the owner's AfterScroll.
    class Observer {
    public:
        virtual ~Observer() = default;
        virtual void structureReset() = 0;     // closed or (re)opened with new fields and no rows
        virtual void rowAppended(int row) = 0; // a row (0-based) now exists at the end
        virtual void rowChanged(int row) = 0;  // a row's values changed
        virtual void scrolled() = 0;           // the current row changed
    };

    State state() const { return state_; }
    bool active() const { return state_ != dsInactive; }
    const std::vector<TFieldDef> &fields() const { return fields_; }
    int fieldIndex(std::string_view name) const; // -1 when there is no such field
    int recordCount() const { return rowCount_; }
    // The current row's number, 1..recordCount; -1 while a new row is being appended; 0 when there is none.
    int recNo() const;
    // A stored value (row and field 0-based).
    const std::string &value(int row, int field) const;
    // Whether a row holds a whole value longer than its field's size, which a view cannot show in full.
    bool rowOverflows(int row) const;

    // Closes, drops the rows and fields, defines `fields`, and opens the table empty. No notification.
    void ResetTable(const std::vector<TFieldDef> &fields);
    // Starts a new row at the end (notification with row number -1), stores the values by field name, posts.
    void AppendRow(std::initializer_list<std::pair<std::string_view, std::string_view>> valuesByName);
    // Makes row 1 current and notifies, also when it already was.
    void MoveFirst();
    // A move made by the user (row 1-based); notifies only when the current row changes.
    void MoveTo(int recNo);

    // The value as a field of `size` bytes stores it: up to the first NUL, then at most `size` bytes.
    static std::string_view storedValue(std::string_view value, int size);

    void setObserver(Observer *observer) { observer_ = observer; }
    // The current-row notification.
    std::function<void()> AfterScroll;

private:
    // AppendRow's steps: start a row, set its fields one at a time, post it.
    void Append();
    void SetFieldValue(std::string_view name, std::string_view value);
    void Post();
    void checkBrowsing(const char *operation) const;
    void notifyScrolled();

    State state_ = dsInactive;
    std::vector<TFieldDef> fields_;
    std::vector<std::string> cells_; // row-major
    int rowCount_ = 0;
    int current_ = -1; // 0-based current row, -1 for none
    Observer *observer_ = nullptr;
};

} // namespace velmora
