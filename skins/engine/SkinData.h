// SPDX-License-Identifier: GPL-3.0-or-later
// The skin engine: holds the skin loaded from the store, parsed, and switches skinning of the program's windows
// on. One engine serves every window of the process through the window manager (SkinManage.h).
#pragma once

#include "skins/engine/SkinTheme.h"
#include "skins/format/SkinStore.h"
#include "text/ByteStream.h"

#include <functional>
#include <memory>

class QObject;

namespace velmora {

class TSkinData;

// A window whose "tag" property holds this is never skinned; it is also the engine's DisableTag unless the
// program sets another.
inline constexpr int kNoSkinTag = 99;

// Whether `object` has a "tag" property equal to `tag`.
bool carriesTag(const QObject *object, int tag);

// What an engine tells the window manager: the only way it reaches the manager.
class SkinEngineEvents {
public:
    virtual void engineLoaded(TSkinData &engine) = 0;
    virtual void engineSwitchedOn(TSkinData &engine) = 0;
    virtual void engineSwitchedOff(TSkinData &engine) = 0;
    virtual void engineDestroyed(TSkinData &engine) = 0;

protected:
    ~SkinEngineEvents() = default;
};

class TSkinData {
public:
    // Reports to `manager`: the program passes the process-wide window manager, TSkinManage::instance().
    explicit TSkinData(SkinEngineEvents &manager);
    ~TSkinData();
    TSkinData(const TSkinData &) = delete;
    TSkinData &operator=(const TSkinData &) = delete;

    // Makes stored skin `index` the engine's skin and brings the skinned windows up to date. An index at or
    // beyond the store's count does nothing. A package that cannot be parsed leaves the previous skin in place
    // (the reader has told the user) with skinReady false.
    void LoadFromStore(TSkinStore &store, int index);

    bool Active() const { return active_; }
    // True switches skinning on (once a skin is ready); false removes every window's skin, 250 ms later.
    void SetActive(bool value);

    bool skinReady() const { return skinReady_; }
    const ByteStream &skinBuffer() const { return buffer_; }
    // The skin last parsed completely; null before the first successful load.
    std::shared_ptr<const SkinTheme> theme() const { return theme_; }

    // Controls whose "tag" property equals this keep their own look inside a skinned window.
    int DisableTag = kNoSkinTag;
    // Raised after a deferred request (skin all, remove all, refresh) has been carried out.
    std::function<void(TSkinData &)> OnSkinChanged;

private:
    bool parseBuffer();

    SkinEngineEvents &manager_;
    bool active_ = false;
    bool skinReady_ = false;
    ByteStream buffer_;
    std::shared_ptr<const SkinTheme> theme_;
};

} // namespace velmora
