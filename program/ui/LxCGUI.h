// A screen description: what a screen's XML file says about its look, owned for the
// screen's life. It holds the background picture, the groups of controls with their
// state pictures (LxGroup.h), a rectangle pool and a text pool that groups and
// controls take their names and rectangles from. The pools never shrink and never
// overflow: a text that does not fit becomes the shared empty text, a rectangle that
// does not fit is dropped.
//
// Reading walks the file tag by tag: "Lexo" names the background, "group" starts a
// group or returns to one of the same name.
#pragma once
#include <string>

#include "media/LxSurface.h"
#include "media/LxWin.h"

class CLxGroup;
class CLxXMLParser;

class CLxCGUI {
  public:
    static constexpr int kMaxRects = 1024;
    static constexpr int kTextBytes = 8192;

    explicit CLxCGUI(const char* descriptionPath);
    CLxCGUI(const CLxCGUI&) = delete;
    CLxCGUI& operator=(const CLxCGUI&) = delete;
    virtual ~CLxCGUI();

    CLxGroup* FindGroup(const char* name) const;
    // Puts a group in front of the list (groups call it from their constructors).
    void AddGroup(CLxGroup* group);
    // Unlinks a group and deletes its controls (its destructor calls it).
    void RemoveGroup(CLxGroup* group);
    // Deletes every control of the group, keeping the group.
    void DeleteGroupControls(CLxGroup* group);

    // A place in the rectangle pool holding rect, or null when the pool is full.
    RECT* AddRect(const RECT* rect);
    // n zeroed bytes of the text pool, or the shared empty text when they do not fit.
    char* AllocText(int n);
    // A copy of s in the text pool; the shared empty text for null or when it does not fit.
    char* StoreText(const char* s);
    int TextUsed() const { return m_nText; }

    // Frees and reloads the background picture from its file.
    CLxSurface* ReloadBackground();
    const char* GetFile() const { return m_file.c_str(); }

    CLxGroup* m_pGroups = nullptr;
    RECT m_aRects[kMaxRects] = {};
    char m_aText[kTextBytes] = {};
    int m_nRects = 0;
    int m_nText = 0;
    CLxSurface* m_pBackground = nullptr;
    char m_szBackground[256] = {};

  private:
    void LoadDescription(const char* path);

    std::string m_file;
};
