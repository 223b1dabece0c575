// SPDX-License-Identifier: GPL-3.0-or-later
#include "skins/engine/SkinData.h"

#include "skins/format/SkinParser.h"
#include "text/Exception.h"

#include <QObject>
#include <QVariant>

namespace velmora {

bool carriesTag(const QObject *object, int tag) {
    QVariant value = object->property("tag");
    return value.isValid() && value.toInt() == tag;
}

TSkinData::TSkinData(SkinEngineEvents &manager) : manager_(manager) {}

TSkinData::~TSkinData() {
    manager_.engineDestroyed(*this);
}

void TSkinData::LoadFromStore(TSkinStore &store, int index) {
    if (index >= store.Store.Count())
        return;
    skinReady_ = false;
    buffer_.clear();
    if (index < 0) // no caller passes one; refuse it with a clear message rather than reading outside the list
        throw Exception("Skin index out of bounds (" + std::to_string(index) + ")");
    TSkinCollectionItem *item = store.Store.Items(index);
    item->DataStream().setPosition(0);
    buffer_.write(item->DataStream().bytes());
    item->DataStream().setPosition(item->DataStream().size());
    buffer_.setPosition(0);
    parseBuffer();
    manager_.engineLoaded(*this);
}

bool TSkinData::parseBuffer() {
    ParsedSkin parsed;
    if (!parseSkin(buffer_, parsed))
        return false; // the reader has shown its message; the previous skin stays
    theme_ = std::make_shared<const SkinTheme>(std::move(parsed));
    skinReady_ = true;
    return true;
}

void TSkinData::SetActive(bool value) {
    if (value == active_)
        return;
    active_ = value;
    if (!value)
        manager_.engineSwitchedOff(*this);
    else if (skinReady_)
        manager_.engineSwitchedOn(*this);
}

} // namespace velmora
