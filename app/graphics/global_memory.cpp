#include "app/graphics/global_memory.h"

#include <map>

namespace app {

namespace {

struct GlobalTable {
    std::map<HGLOBAL, std::vector<unsigned char>> blocks;
    HGLOBAL nextHandle = 0x4000;
};

GlobalTable& Table() {
    static GlobalTable table;
    return table;
}

}  // namespace

HGLOBAL GlobalAllocBytes(std::vector<unsigned char> bytes) {
    const HGLOBAL handle = Table().nextHandle++;
    Table().blocks.emplace(handle, std::move(bytes));
    return handle;
}

const std::vector<unsigned char>* GlobalBytes(HGLOBAL block) {
    const auto found = Table().blocks.find(block);
    return found == Table().blocks.end() ? nullptr : &found->second;
}

bool GlobalFree(HGLOBAL block) { return Table().blocks.erase(block) == 1; }

std::size_t LiveGlobalCount() { return Table().blocks.size(); }

}  // namespace app
