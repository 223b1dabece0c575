// SPDX-License-Identifier: GPL-3.0-or-later
// skinstore OUT PACKAGE...: writes the persisted skin store holding the given packages in order. The items are
// created as the main window's store has them: IDs 0 to 4, then two items added and removed, so that the sixth
// item gets ID 7 and the name "SkinItem7".
#include "skins/format/SkinStore.h"
#include "text/Exception.h"

#include <cstdio>
#include <fstream>
#include <iterator>

int main(int argc, char **argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: skinstore OUT PACKAGE...\n");
        return 2;
    }
    velmora::TSkinCollection store;
    for (int i = 2; i < argc; ++i) {
        if (store.Count() == 5) {
            store.Add();
            store.Add();
            store.Delete(6);
            store.Delete(5);
        }
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "skinstore: cannot read %s\n", argv[i]);
            return 1;
        }
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        store.Add()->DataStream().write(bytes);
    }
    velmora::ByteStream out;
    store.WriteTo(out);
    std::string tmp = std::string(argv[1]) + ".tmp";
    std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
    f.write(out.data(), static_cast<std::streamsize>(out.size()));
    f.close();
    if (!f || std::rename(tmp.c_str(), argv[1]) != 0) {
        std::fprintf(stderr, "skinstore: cannot write %s\n", argv[1]);
        std::remove(tmp.c_str());
        return 1;
    }
    return 0;
}
