// A folder over a directory on disk. Names it does not hold are looked up in the
// directory: a subdirectory becomes a Directory, a file a File, and what is found
// is kept as a member under the name asked for, so later lookups are folder
// lookups. A name that matches nothing gives a fresh File that is not kept (writing
// to it creates the file), so a file made later under that name is still found.
#pragma once
#include <string>

#include "core/FolderBase.h"

class Directory : public FolderBase {
  public:
    // path is relative to the working folder; "" is the working folder itself.
    Directory(std::string path, Folder* parent) : FolderBase(parent), path_(std::move(path)) {}

    Interface* Find(const char* name, int length) override;
    // 0: the entries on disk (with "." and ".."), sorted, each with a shared
    // placeholder object; 1: the exported members.
    NameIterator* Members(int which) override;
    // The path, or the name in the parent for the working folder.
    const char* Name() override;

    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};
