#include "skins/SkinData.h"

#include "platform/Exception.h"
#include "skins/SkinManage.h"

namespace velmora {

TSkinData::TSkinData() { TSkinManage::instance(); }

TSkinData::~TSkinData() { TSkinManage::instance().engineDestroyed(this); }

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
    TSkinManage::instance().engineLoaded(this);
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
    TSkinManage &manager = TSkinManage::instance();
    if (value) {
        if (!skinReady_)
            return;
        manager.engineSwitchedOn(this);
    } else {
        manager.engineSwitchedOff(this);
    }
}

} // namespace velmora
