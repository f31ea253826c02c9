// The small-picture catalogue; see LxSmallPic.h. The file is read twice: first the
// pictures (the root's "path" may change the folder between them), then the groups,
// whose lists name pictures by word.
#include "media/LxSmallPic.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <string_view>

#include "core/TextCodec.h"
#include "shell/LxXMLParser.h"

namespace {
std::string Trimmed(const char* path) {
    std::string_view p = path ? path : "";
    if (!p.empty() && p.front() == '\\') p.remove_prefix(1);
    if (!p.empty() && p.back() == '\\') p.remove_suffix(1);
    return std::string(p);
}

void Say(const char* what) {
    std::printf("SmallPic: %s\n", what);
    std::fflush(stdout);
}
} // namespace

CLxSmallPic::CLxSmallPic(const char* path) {
    m_groups.push_back(Group{"\xD6sszes", 0});
    CLxXMLParser xml;
    if (!path || !xml.Open(path)) return;
    std::string folder;
    while (char* tag = xml.NextTag()) {
        if (LxTagStarts(tag, "Lexo")) {
            if (char* p = xml.GetAttr(tag, "path")) folder = Trimmed(p);
            continue;
        }
        if (!LxTagStarts(tag, "picture")) continue;
        char* syllables = xml.GetAttr(tag, "syllable");
        if (!syllables) continue;
        if (Count() == kMaxPictures) {
            Say("too many pictures, the rest skipped");
            break;
        }
        LxSmallPicEntry e;
        e.folder = folder;
        e.syllables = syllables;
        if (char* name = xml.GetAttr(tag, "name")) e.name = name;
        if (char* word = xml.GetAttr(tag, "word")) {
            e.word = word;
        } else {
            for (char c : e.syllables)
                if (c != '|') e.word += c;
        }
        e.groups.set(0);
        m_pictures.push_back(std::move(e));
    }
    m_groups[0].members = Count();

    xml.Open(path);
    while (char* tag = xml.NextTag()) {
        if (!LxTagStarts(tag, "group")) continue;
        char* name = xml.GetAttr(tag, "name");
        if (!name) continue;
        if (GroupCount() == kMaxGroups) {
            Say("too many groups, the rest skipped");
            break;
        }
        int group = GroupCount();
        m_groups.push_back(Group{name, 0});
        char* list = xml.GetAttr(tag, "pictures");
        if (!list) continue;
        char* items[kMaxPictures];
        int n = CLxXMLParser::SplitList(list, items, kMaxPictures);
        for (int i = 0; i < n; ++i) {
            int picture = FindPicture(items[i]);
            if (picture < 0 || m_pictures[picture].groups.test(group)) continue;
            m_pictures[picture].groups.set(group);
            ++m_groups[group].members;
        }
    }
}

int CLxSmallPic::FindGroup(const char* name) const {
    for (int i = GroupCount() - 1; i >= 0; --i)
        if (name && m_groups[i].name == name) return i;
    return -1;
}

int CLxSmallPic::FindPicture(const char* word) const {
    for (int i = Count() - 1; i >= 0; --i)
        if (word && m_pictures[i].word == word) return i;
    SDL_Log("SmallPic not found! %s (%s)\n", word ? word : "",
            talvik::Latin2ToUtf8(word ? word : "").c_str());
    return -1;
}

const char* CLxSmallPic::PicturePath(int index) {
    m_path.clear();
    if (index >= 0 && index < Count())
        m_path = "data\\" + m_pictures[index].folder + "\\" + m_pictures[index].name + ".bmp";
    return m_path.c_str();
}

int CLxSmallPic::GroupMember(int group, int n) const {
    if (group < 0 || group >= GroupCount() || n < 0 || n >= m_groups[group].members) return -1;
    for (int i = Count() - 1; i >= 0; --i)
        if (m_pictures[i].groups.test(group) && n-- == 0) return i;
    return -1;
}
