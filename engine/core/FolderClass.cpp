// The Folder class: an empty folder whose parent is the calling context.
#include "Folder.h"
#include "core/FolderBase.h"

Interface* NewFolder(Input*, Interface* context) {
    Folder* parent = QueryInterface<Folder>(context, "Folder");
    auto* folder = new FolderBase(parent);
    if (parent) parent->Release();
    return folder;
}
