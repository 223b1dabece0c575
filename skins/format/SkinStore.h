// SPDX-License-Identifier: GPL-3.0-or-later
// The store of skin packages: an ordered collection of named items, each holding one package's bytes.
#pragma once

#include "text/ByteStream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velmora {

class TSkinCollection;

class TSkinCollectionItem {
public:
    TSkinCollectionItem(TSkinCollection *owner, int32_t id);

    const std::string &Name() const { return name_; }
    // Names are unique within a store; a name another item bears raises "The name ... is already used.".
    void SetName(const std::string &name);
    int32_t ID() const { return id_; }

    ByteStream &DataStream() { return data_; }
    const ByteStream &DataStream() const { return data_; }
    int32_t DataSize() const { return static_cast<int32_t>(data_.size()); }

    // A placeholder kept for the persisted form: always reads "Load Skin", assigning does nothing.
    std::string SkinData() const { return "Load Skin"; }
    void SetSkinData(const std::string &) {}

    // Takes the source's name (no uniqueness test) and all its bytes; the source's position is kept.
    void Assign(const TSkinCollectionItem &source);

    TSkinCollection *Collection() const { return owner_; }

private:
    TSkinCollection *owner_;
    int32_t id_;
    std::string name_;
    ByteStream data_;
};

class TSkinCollection {
public:
    TSkinCollection() = default;
    TSkinCollection(const TSkinCollection &) = delete;
    TSkinCollection &operator=(const TSkinCollection &) = delete;

    int Count() const { return static_cast<int>(items_.size()); }
    // A new item named "SkinItem" + its ID; IDs count up from 0 and are never reused.
    TSkinCollectionItem *Add();
    void Delete(int index);
    void Clear() { items_.clear(); }
    TSkinCollectionItem *Items(int index) const { return items_.at(static_cast<std::size_t>(index)).get(); }
    TSkinCollectionItem *operator[](int index) const { return Items(index); }
    // The first item other than `except` bearing `name`, byte for byte; null if none.
    const TSkinCollectionItem *FindName(const std::string &name, const TSkinCollectionItem *except) const;

    // Persisted form: item count, then per item its name and its data block, each as a 32-bit little-endian
    // length followed by the bytes. The data block is always written, also when empty.
    void WriteTo(ByteStream &out) const;
    // Replaces every item by those read; a short or inconsistent stream raises an error and leaves the
    // collection as it was.
    void ReadFrom(ByteStream &in);

private:
    std::vector<std::unique_ptr<TSkinCollectionItem>> items_;
    int32_t nextId_ = 0;
};

// The component the main window holds: one property, Store.
class TSkinStore {
public:
    TSkinCollection Store;

    // Fills Store from a persisted store held in a resource file (":/..."); raises an error if it is missing.
    void LoadFromResource(const char *path);
};

// The persisted store of the program's six skins, compiled in at build time.
constexpr const char *kSkinStoreResource = ":/velmora/skins/store.bin";

} // namespace velmora
