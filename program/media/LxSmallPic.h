// The small-picture catalogue ("data\smallpic.xml"): the word pictures of the word,
// syllable and picture games, each with its file, word and syllabified word, and named
// groups of them. Group 0, "Összes", holds every picture.
#pragma once
#include <bitset>
#include <string>
#include <vector>

struct LxSmallPicEntry {
    std::string name, folder, word, syllables;
    std::bitset<256> groups;
};

class CLxSmallPic {
  public:
    static constexpr int kMaxPictures = 1024;
    static constexpr int kMaxGroups = 256;

    explicit CLxSmallPic(const char* path);
    virtual ~CLxSmallPic() = default;

    // The last group or picture of exactly that name or word, or -1 (a missing picture
    // is logged).
    int FindGroup(const char* name) const;
    int FindPicture(const char* word) const;
    // "data\", the folder, "\", the name and ".bmp"; "" out of range. Valid until the
    // next call.
    const char* PicturePath(int index);
    // The n-th picture of a group counted from the end of the catalogue (0: the last),
    // or -1 when the group or n is out of range.
    int GroupMember(int group, int n) const;

    int Count() const { return static_cast<int>(m_pictures.size()); }
    int GroupCount() const { return static_cast<int>(m_groups.size()); }
    const LxSmallPicEntry& Picture(int index) const { return m_pictures[index]; }
    const char* GroupName(int group) const { return m_groups[group].name.c_str(); }
    int GroupSize(int group) const { return m_groups[group].members; }

  private:
    struct Group {
        std::string name;
        int members;
    };
    std::vector<LxSmallPicEntry> m_pictures;
    std::vector<Group> m_groups;
    std::string m_path;
};
