// The Folder class: an empty folder whose parent is the calling context.
#include "Folder.h"
#include "core/FolderBase.h"
#include "core/Obtained.h"

Interface* NewFolder(Input*, Interface* context) {
    Obtained<Folder> parent = Obtain<Folder>(context, "Folder");
    return new FolderBase(parent.get());
}
