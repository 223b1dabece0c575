// SPDX-License-Identifier: GPL-3.0-or-later
#include "skins/format/SkinStore.h"

#include "text/Exception.h"

namespace velmora {

namespace {
void writeU32(ByteStream &out, uint32_t v) {
    unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                          static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    out.write(b, 4);
}

uint32_t readU32(ByteStream &in) {
    unsigned char b[4];
    if (in.read(b, 4) != 4)
        throw Exception("Skin store: stream ends inside a length");
    return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

std::string readBlock(ByteStream &in) {
    uint32_t n = readU32(in);
    if (n > in.size() - in.position())
        throw Exception("Skin store: block longer than the stream");
    std::string bytes(n, '\0');
    in.read(bytes.data(), n);
    return bytes;
}

void writeBlock(ByteStream &out, const std::string &bytes) {
    writeU32(out, static_cast<uint32_t>(bytes.size()));
    out.write(bytes);
}
} // namespace

TSkinCollectionItem::TSkinCollectionItem(TSkinCollection *owner, int32_t id)
    : owner_(owner), id_(id), name_("SkinItem" + std::to_string(id)) {}

void TSkinCollectionItem::SetName(const std::string &name) {
    if (name == name_)
        return;
    if (owner_ && owner_->FindName(name, this))
        throw Exception("The name " + name + " is already used.");
    name_ = name;
}

void TSkinCollectionItem::Assign(const TSkinCollectionItem &source) {
    if (&source == this)
        return;
    name_ = source.name_;
    data_.clear();
    data_.write(source.data_.bytes());
    data_.setPosition(0);
}

TSkinCollectionItem *TSkinCollection::Add() {
    items_.push_back(std::make_unique<TSkinCollectionItem>(this, nextId_++));
    return items_.back().get();
}

void TSkinCollection::Delete(int index) {
    items_.erase(items_.begin() + index);
}

const TSkinCollectionItem *TSkinCollection::FindName(const std::string &name, const TSkinCollectionItem *except) const {
    for (const auto &item : items_)
        if (item.get() != except && item->Name() == name)
            return item.get();
    return nullptr;
}

void TSkinCollection::WriteTo(ByteStream &out) const {
    writeU32(out, static_cast<uint32_t>(items_.size()));
    for (const auto &item : items_) {
        writeBlock(out, item->Name());
        writeBlock(out, item->DataStream().bytes());
    }
}

void TSkinCollection::ReadFrom(ByteStream &in) {
    // Parse everything first so that a damaged stream leaves the items as they were.
    uint32_t count = readU32(in);
    std::vector<std::pair<std::string, std::string>> read;
    for (uint32_t i = 0; i < count; ++i) {
        std::string name = readBlock(in);
        std::string data = readBlock(in);
        read.emplace_back(std::move(name), std::move(data));
    }
    std::vector<std::unique_ptr<TSkinCollectionItem>> old;
    old.swap(items_);
    try {
        for (auto &[name, data] : read) {
            TSkinCollectionItem *item = Add();
            item->SetName(name);
            item->DataStream().write(data);
            item->DataStream().setPosition(0);
        }
    } catch (...) {
        items_.swap(old);
        throw;
    }
}

} // namespace velmora
