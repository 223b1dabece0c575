// SPDX-License-Identifier: GPL-3.0-or-later
// The skin store's rules: names and IDs, the duplicate-name error, copying and the persisted form.
#include "skins/format/SkinParser.h"
#include "skins/format/SkinStore.h"
#include "skins/format/TSkinReader.h"
#include "text/Exception.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {
std::string messageOf(const std::function<void()> &f) {
    try {
        f();
    } catch (const Exception &e) {
        return e.message();
    }
    return "<no error>";
}
} // namespace

TEST(SkinStore, NamesFollowIdsAndIdsAreNotReused) {
    TSkinStore store;
    for (int i = 0; i < 7; ++i)
        store.Store.Add();
    store.Store.Delete(6);
    store.Store.Delete(5);
    TSkinCollectionItem *item = store.Store.Add();
    EXPECT_EQ(item->ID(), 7);
    EXPECT_EQ(item->Name(), "SkinItem7");
    ASSERT_EQ(store.Store.Count(), 6);
    EXPECT_EQ(store.Store[4]->Name(), "SkinItem4");
    EXPECT_EQ(store.Store[5], item);
    store.Store.Clear();
    EXPECT_EQ(store.Store.Add()->Name(), "SkinItem8");
}

TEST(SkinStore, DuplicateNameIsRefusedAndOwnNameAccepted) {
    TSkinStore store;
    TSkinCollectionItem *a = store.Store.Add();
    TSkinCollectionItem *b = store.Store.Add();
    EXPECT_NO_THROW(b->SetName("SkinItem1"));
    EXPECT_EQ(messageOf([&] { b->SetName("SkinItem0"); }), "The name SkinItem0 is already used.");
    EXPECT_EQ(b->Name(), "SkinItem1");
    // Case counts: a name differing only in letter case is another name.
    EXPECT_NO_THROW(b->SetName("skinitem0"));
    EXPECT_EQ(b->Name(), "skinitem0");
    a->SetName("free");
    EXPECT_NO_THROW(b->SetName("SkinItem0"));
    // Another store's names do not count.
    TSkinStore other;
    EXPECT_NO_THROW(other.Store.Add()->SetName("free"));
}

TEST(SkinStore, AssignCopiesNameAndBytesAndKeepsSourcePosition) {
    TSkinStore store;
    TSkinCollectionItem *a = store.Store.Add();
    TSkinCollectionItem *b = store.Store.Add();
    a->DataStream().write("abcdef");
    a->DataStream().setPosition(2);
    b->DataStream().write("a much longer old content");
    b->Assign(*a);
    EXPECT_EQ(b->Name(), "SkinItem0"); // duplicate allowed by copying
    EXPECT_EQ(b->DataStream().bytes(), "abcdef");
    EXPECT_EQ(b->DataSize(), 6);
    EXPECT_EQ(a->DataStream().position(), 2u);
    EXPECT_EQ(a->SkinData(), "Load Skin");
    a->SetSkinData("x");
    EXPECT_EQ(a->SkinData(), "Load Skin");
}

TEST(SkinStore, PersistedFormRoundTripsAndWritesEmptyBlocks) {
    TSkinStore store;
    store.Store.Add()->DataStream().write(std::string("\x01\x00\x02", 3));
    store.Store.Add(); // empty
    store.Store[1]->SetName("SkinItem7");
    ByteStream out;
    store.Store.WriteTo(out);
    // count, name0, data0, name1, empty data1 (its length still written)
    std::string expected = std::string("\x02\0\0\0", 4) + std::string("\x09\0\0\0", 4) + "SkinItem0" +
                           std::string("\x03\0\0\0\x01\x00\x02", 7) + std::string("\x09\0\0\0", 4) + "SkinItem7" +
                           std::string("\0\0\0\0", 4);
    EXPECT_EQ(out.bytes(), expected);

    TSkinStore loaded;
    loaded.Store.Add()->DataStream().write("replaced");
    out.setPosition(0);
    loaded.Store.ReadFrom(out);
    ASSERT_EQ(loaded.Store.Count(), 2);
    EXPECT_EQ(loaded.Store[0]->DataStream().bytes(), std::string("\x01\x00\x02", 3));
    EXPECT_EQ(loaded.Store[0]->DataStream().position(), 0u);
    EXPECT_EQ(loaded.Store[1]->Name(), "SkinItem7");
    EXPECT_EQ(loaded.Store[1]->DataSize(), 0);
}

TEST(SkinStore, DamagedPersistedFormLeavesItemsAlone) {
    TSkinStore store;
    store.Store.Add()->DataStream().write("keep");
    ByteStream truncated(std::string("\x01\0\0\0\x05\0\0\0Ski", 11));
    EXPECT_THROW(store.Store.ReadFrom(truncated), Exception);
    ByteStream duplicate;
    TSkinStore src;
    src.Store.Add();
    src.Store.Add();
    src.Store[1]->Assign(*src.Store[0]);
    src.Store.WriteTo(duplicate);
    duplicate.setPosition(0);
    EXPECT_THROW(store.Store.ReadFrom(duplicate), Exception);
    ASSERT_EQ(store.Store.Count(), 1);
    EXPECT_EQ(store.Store[0]->DataStream().bytes(), "keep");
}

TEST(SkinStore, CompiledInStoreHoldsTheSixSkins) {
    TSkinStore store;
    store.LoadFromResource(kSkinStoreResource);
    ASSERT_EQ(store.Store.Count(), 6);
    const char *names[] = {"SkinItem0", "SkinItem1", "SkinItem2", "SkinItem3", "SkinItem4", "SkinItem7"};
    for (int i = 0; i < 6; ++i) {
        TSkinCollectionItem *item = store.Store[i];
        EXPECT_EQ(item->Name(), names[i]);
        ASSERT_GT(item->DataSize(), 16);
        EXPECT_EQ(item->DataStream().position(), 0u);
        TSkinReader reader;
        ASSERT_TRUE(reader.ReadPackage(item->DataStream().bytes())) << i;
        EXPECT_EQ(reader.version(), i == 4 ? 20000 : 70000) << i;
        // Every stored skin is complete: each part the engine paints has its image.
        ParsedSkin skin;
        ASSERT_TRUE(parseSkin(item->DataStream(), skin)) << i;
        EXPECT_FALSE(skin.skinName.empty());
        for (const SkinPart *part :
             {&skin.buttons.push, &skin.groupBox.part, &skin.groupBoxEdge, &skin.sunkEdge, &skin.comboButton,
              &skin.scrollbar, &skin.horzScroll, &skin.vertScroll, &skin.horzScrollThumb.part,
              &skin.vertScrollThumb.part, &skin.menuBackground, &skin.menuItem, &skin.headerbar, &skin.tabs,
              &skin.tabPane, &skin.progress.bar, &skin.progress.chunk})
            EXPECT_TRUE(part->present && !part->image.isNull()) << i;
        EXPECT_FALSE(skin.personality.top.image.isNull());
        EXPECT_FALSE(skin.personality.left.image.isNull());
        EXPECT_FALSE(skin.personality.bottom.image.isNull());
        EXPECT_FALSE(skin.personality.menuBar.isNull());
        EXPECT_TRUE(skin.personality.activeText.has_value());
        ASSERT_EQ(skin.captionButtons.size(), 3u);
        // The frame and caption buttons also come at twice the size, as extra entries the format allows.
        const SkinImage *framed[] = {&skin.personality.top.image,   &skin.personality.left.image,
                                     &skin.personality.right.image, &skin.personality.bottom.image,
                                     &skin.captionButtons[0].image, &skin.captionButtons[2].image};
        for (const SkinImage *img : framed)
            EXPECT_EQ(img->image2x.size(), img->image.size() * 2) << i;
        EXPECT_FALSE(skin.buttons.checkButton.isNull());
        EXPECT_EQ(skin.buttons.checkFrames, 8);
    }
}
