// SPDX-License-Identifier: GPL-3.0-or-later
#include "grid/ClientDataSet.h"

#include "text/Exception.h"

#include <algorithm>
#include <climits>

namespace velmora {

int TClientDataSet::fieldIndex(std::string_view name) const {
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].name == name)
            return int(i);
    return -1;
}

int TClientDataSet::recNo() const {
    if (state_ == dsAppend)
        return -1;
    return current_ + 1;
}

const std::string &TClientDataSet::value(int row, int field) const {
    return cells_.at(std::size_t(row) * fields_.size() + std::size_t(field));
}

bool TClientDataSet::rowOverflows(int row) const {
    for (std::size_t f = 0; f < fields_.size(); ++f)
        if (fields_[f].whole && value(row, int(f)).size() > std::size_t(std::max(fields_[f].size, 0)))
            return true;
    return false;
}

std::string_view TClientDataSet::storedValue(std::string_view value, int size) {
    value = value.substr(0, std::min(value.size(), std::size_t(std::max(size, 0))));
    return value.substr(0, std::min(value.size(), value.find('\0'))); // stops at the first NUL
}

void TClientDataSet::checkBrowsing(const char *operation) const {
    if (state_ != dsBrowse)
        throw Exception(std::string("Cannot ") + operation + " a closed dataset or one in insert mode");
}

void TClientDataSet::ResetTable(const std::vector<TFieldDef> &fields) {
    state_ = dsInactive;
    cells_.clear();
    rowCount_ = 0;
    current_ = -1;
    fields_ = fields;
    state_ = dsBrowse;
    if (observer_)
        observer_->structureReset();
}

void TClientDataSet::Append() {
    checkBrowsing("append to");
    cells_.resize(cells_.size() + fields_.size());
    current_ = rowCount_++;
    state_ = dsAppend;
    if (observer_)
        observer_->rowAppended(current_);
    notifyScrolled();
}

void TClientDataSet::SetFieldValue(std::string_view name, std::string_view value) {
    if (state_ != dsAppend)
        throw Exception("Dataset not in edit or insert mode");
    int f = fieldIndex(name);
    if (f < 0)
        throw Exception("Field '" + std::string(name) + "' not found");
    const TFieldDef &field = fields_[std::size_t(f)];
    cells_[std::size_t(current_) * fields_.size() + std::size_t(f)].assign(
        storedValue(value, field.whole ? int(std::min<std::size_t>(value.size(), INT_MAX)) : field.size));
}

void TClientDataSet::Post() {
    if (state_ != dsAppend)
        return;
    state_ = dsBrowse;
    if (observer_)
        observer_->rowChanged(current_);
}

void TClientDataSet::AppendRow(std::initializer_list<std::pair<std::string_view, std::string_view>> valuesByName) {
    // Names are checked first, so a bad one leaves no half-made row behind.
    for (const auto &named : valuesByName)
        if (fieldIndex(named.first) < 0)
            throw Exception("Field '" + std::string(named.first) + "' not found");
    Append();
    for (const auto &[name, value] : valuesByName)
        SetFieldValue(name, value);
    Post();
}

void TClientDataSet::MoveFirst() {
    checkBrowsing("move in");
    current_ = rowCount_ > 0 ? 0 : -1;
    notifyScrolled();
}

void TClientDataSet::MoveTo(int recNo) {
    if (state_ != dsBrowse || recNo < 1 || recNo > rowCount_ || recNo - 1 == current_)
        return;
    current_ = recNo - 1;
    notifyScrolled();
}

void TClientDataSet::notifyScrolled() {
    if (observer_)
        observer_->scrolled();
    if (AfterScroll)
        AfterScroll();
}

} // namespace velmora
