#include "host/file_layout.h"

namespace {

FileLayout& Current() {
    static FileLayout layout = BuildFolderLayout();
    return layout;
}

}  // namespace

FileLayout BuildFolderLayout() { return FileLayout{"./data/", "./.zarnikstate"}; }

FileLayout BrowserLayout() { return FileLayout{"/data/", "/state/.zarnikstate"}; }

const FileLayout& CurrentFileLayout() { return Current(); }

void UseFileLayout(const FileLayout& layout) { Current() = layout; }
