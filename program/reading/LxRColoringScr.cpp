// The colouring game; see LxRColoringScr.h. Building reads the lesson's material, draws
// the outline into a white 600 x 600 surface, builds the area map from the seeds (which
// leaves the areas uncoloured), makes the colouring area control over it, and paints
// the palette into the background and the state pictures of group "fo": a disc of the
// fill colour per palette button, a ring of the hot colour on the hot pictures, a
// gradient to the selected colour on the selected ones, and the letter on each.
#include "reading/LxRColoringScr.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "media/LxDraw.h"
#include "media/LxFontServer.h"
#include "media/LxMLRLEBitmap.h"
#include "media/LxRLEBitmap.h"
#include "media/LxSoundHelpers.h"
#include "media/LxSoundServer.h"
#include "reading/LxLetters.h"
#include "shell/LxMessages.h"
#include "shell/LxProgram.h"
#include "shell/LxProgramData.h"
#include "shell/LxXMLParser.h"
#include "ui/LxCGUI.h"
#include "ui/LxGroup.h"

namespace {
const char* const kEndSound = "data\\sounds\\ColoringEnd.wav";
const char* const kPalette = "data\\buttons\\paletta.bmp";
const char* const kLetterFont = "data\\fonts\\tnr24.xml";
constexpr RECT kPaletteArea{600, 180, 800, 400};
constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kOverlayKey = 0xFF00FF;
constexpr int kGradientSteps = 16;
constexpr int kMaxColours = 4;

bool IsNamed(const CLxMouseEvent* event, const char* fullName) {
    return event->m_pControl && event->m_pControl->GetFullName() == fullName;
}

std::string PaletteButton(int k) {
    return "fo.c" + std::to_string(k);
}

// "0x..." is hexadecimal, anything else decimal.
uint32_t ReadColour(const char* text) {
    bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    return static_cast<uint32_t>(std::strtoul(hex ? text + 2 : text, nullptr, hex ? 16 : 10));
}

std::vector<std::string> Items(CLxXMLParser* reader, char* tag, const char* attr, int max) {
    std::vector<std::string> items;
    char* value = reader->GetAttr(tag, attr);
    if (!value) return items;
    std::vector<char*> split(static_cast<size_t>(max));
    int n = CLxXMLParser::SplitList(value, split.data(), max);
    items.assign(split.begin(), split.begin() + n);
    return items;
}

LxColoringSegment ReadSegment(CLxXMLParser* reader, char* tag, int* seedsLeft) {
    LxColoringSegment segment;
    std::string letter;
    if (const char* text = reader->GetAttr(tag, "character")) letter = text;
    segment.letter = DecodeLetter(letter.c_str());
    std::vector<std::string> colours = Items(reader, tag, "color", kMaxColours);
    for (size_t i = 0; i < colours.size(); ++i)
        segment.colours[i] = ReadColour(colours[i].c_str()) & 0xFFFFFF;
    CompleteSegmentColours(&segment, static_cast<int>(colours.size()));
    for (const std::string& item : Items(reader, tag, "position", CLxRColoringScr::kMaxSeeds)) {
        int x = 0, y = 0;
        if (*seedsLeft <= 0 || std::sscanf(item.c_str(), "%d,%d", &x, &y) != 2) continue;
        segment.seeds.push_back(POINT{x, y});
        --*seedsLeft;
    }
    return segment;
}

bool SafeFolder(const std::string& path) {
    return !path.empty() && path.find("..") == std::string::npos && path[0] != '\\' &&
           path[0] != '/' && path.find(':') == std::string::npos;
}
} // namespace

CLxRColoringScr::CLxRColoringScr(const char* descriptionPath) : CLxReadingScr(descriptionPath) {
    m_szName = "Coloring";
    std::string folder;
    if (ReadMaterial(&folder)) m_base = "data\\" + folder;
    CLxSurface* area = BuildArea(m_base);
    CLxSurface* overlay = nullptr;
    if (!m_base.empty()) {
        CLxMLRLEBitmap layers((m_base + "_b.mlr").c_str());
        overlay = layers.CreateSurface();
        if (overlay) overlay->SetColorKey(ColorToPixel(overlay, kOverlayKey));
    }
    RECT rect{0, 0, kColoringSize, kColoringSize};
    CLxControl::Descriptor d{m_pGUI, m_pGUI->FindGroup("fo"), "cbutton", &rect, 1};
    if (d.group) {
        m_pArea = new CLxColoringButton(&d, area, overlay);
    } else {
        FreeSurface(&area);
        FreeSurface(&overlay);
    }
    if (m_pArea && m_segments.empty()) m_pArea->m_nFlags &= ~kEnabled;
    BuildPalette();
    if (g_pSoundServer) m_pEndSound = g_pSoundServer->GetSound(kEndSound, -1, -1);
    m_pGUI->DrawBackground(nullptr, nullptr, true);
}

CLxRColoringScr::~CLxRColoringScr() {
    StopSpeaking();
    if (m_pEndSound && g_pSoundServer) g_pSoundServer->ReleaseSound(m_pEndSound);
}

// The lesson's "coloring" element and its "segment" elements; the picture's folder and
// name go to folder. False without usable material.
bool CLxRColoringScr::ReadMaterial(std::string* folder) {
    const std::vector<std::string>& material = LessonMaterial(m_nLetter);
    CLxXMLParser reader;
    int seedsLeft = kMaxSeeds;
    bool inside = false;
    for (const std::string& kept : material) {
        std::string tag = kept; // the reader's attribute parsing writes into the tag
        if (!inside) {
            if (!LxTagIs(tag.c_str(), "coloring")) continue;
            inside = true;
            const char* path = reader.GetAttr(tag.data(), "path");
            std::string where = path ? path : "";
            const char* name = reader.GetAttr(tag.data(), "name");
            if (!SafeFolder(where) || !name || std::strpbrk(name, "\\/:") ||
                std::strstr(name, ".."))
                return false;
            *folder = where + "\\" + name;
            continue;
        }
        if (LxTagStarts(tag.c_str(), "/coloring")) break;
        if (LxTagIs(tag.c_str(), "segment") && static_cast<int>(m_segments.size()) < kMaxSegments)
            m_segments.push_back(ReadSegment(&reader, tag.data(), &seedsLeft));
    }
    return inside;
}

// A white surface with the outline in black and a black frame around the outline's
// size, its areas mapped and left uncoloured. The seeds are dropped when the outline is
// missing, does not fit the area or differs in size from the finished picture.
CLxSurface* CLxRColoringScr::BuildArea(const std::string& base) {
    CLxSurface* area = CreateSurface(kColoringSize, kColoringSize);
    FillRectRGB(area, nullptr, kWhite);
    CLxRLEBitmap outline;
    int width = 0, height = 0;
    bool usable = !base.empty() && outline.Load((base + ".rle").c_str()) && outline.m_nWidth > 0 &&
                  outline.m_nHeight > 0 && outline.m_nWidth <= kColoringSize &&
                  outline.m_nHeight <= kColoringSize &&
                  ReadBitmapSize((base + ".bmp").c_str(), &width, &height) &&
                  width == outline.m_nWidth && height == outline.m_nHeight;
    if (!usable) {
        if (!base.empty()) {
            std::printf("Coloring: %s: the outline and the finished picture do not fit.\n",
                        base.c_str());
            std::fflush(stdout);
        }
        m_segments.clear();
        m_map.assign(kColoringCells * kColoringCells, kNoSegment);
        return area;
    }
    outline.Draw(area, 0, 0, kBlack);
    RECT frame{0, 0, outline.m_nWidth, outline.m_nHeight};
    OutlineRectRGB(area, &frame, kBlack);
    m_map = BuildColoringMap(area, &m_segments);
    return area;
}

void CLxRColoringScr::BuildPalette() {
    CLxGroup* group = m_pGUI->FindGroup("fo");
    CLxSurface* palette = LoadBitmap(kPalette);
    if (palette->m_pSurface) {
        palette->SetColorKey(ColorToPixel(palette, kWhite));
        if (m_pGUI->m_pBackground)
            BltSurface(m_pGUI->m_pBackground, &kPaletteArea, palette, nullptr, 0);
        for (int state = 0; group && state < 8; ++state) {
            CLxSurface* picture = group->m_aPictures[state];
            if (!picture) continue;
            RECT at{kPaletteArea.left - group->m_nX, kPaletteArea.top - group->m_nY,
                    kPaletteArea.right - group->m_nX, kPaletteArea.bottom - group->m_nY};
            BltSurface(picture, &at, palette, nullptr, 0);
        }
    }
    FreeSurface(&palette);
    for (int k = 0; k < kMaxSegments; ++k) {
        if (k < static_cast<int>(m_segments.size()))
            PaintPaletteButton(k);
        else
            SetControlFlag(PaletteButton(k).c_str(), kVisible, false);
    }
    if (m_segments.empty()) return;
    SetControlFlag(PaletteButton(0).c_str(), kSelected, true);
    if (m_pArea) m_pArea->m_nColour = m_segments[0].colours[0];
}

void CLxRColoringScr::PaintPaletteButton(int k) {
    CLxControl* button = m_pGUI->FindControl(PaletteButton(k).c_str());
    RECT rect;
    if (!button || !button->m_pGroup || !button->GetDrawRect(&rect)) return;
    CLxGroup* group = button->m_pGroup;
    OffsetRect(&rect, -group->m_nX, -group->m_nY);
    const LxColoringSegment& segment = m_segments[k];
    CLxRLEFonts* font = ServedFont(kLetterFont);
    for (int state = 0; state < 8; ++state) {
        CLxSurface* picture = group->m_aPictures[state];
        if (!picture) continue;
        FillCircle(picture, &rect, ColorToPixel(picture, segment.colours[0]));
        if (state & kHot) DrawCircle(picture, &rect, ColorToPixel(picture, segment.colours[2]));
        for (int t = kGradientSteps; (state & kSelected) && t >= 1; --t) {
            int in = kGradientSteps - t;
            RECT ring{rect.left + in, rect.top + in, rect.right - in, rect.bottom - in};
            if (ring.right <= ring.left) break;
            uint32_t colour = MixRGB(segment.colours[1], segment.colours[0], t, kGradientSteps);
            FillCircle(picture, &ring, ColorToPixel(picture, colour));
        }
        LxSurfaceDesc locked;
        if (!font || picture->Lock(nullptr, &locked) != 0) continue;
        const CLxRLEBitmap* glyph = font->Glyph(segment.letter);
        int w = glyph ? glyph->m_nWidth : 0, h = glyph ? glyph->m_nHeight : 0;
        font->Attach(&locked);
        font->DrawChar(segment.letter, kBlack, (rect.left + rect.right - w) / 2,
                       (rect.top + rect.bottom - h) / 2);
        font->Attach(nullptr);
        picture->Unlock();
    }
}

int CLxRColoringScr::OnMouseEvent(CLxMouseEvent* event) {
    if (int sent = CLxReadingScr::OnMouseEvent(event)) return sent;
    if (!event || !event->m_pControl) return 0;
    if (IsNamed(event, "help.help")) {
        if (event->m_nType == kMouseEnter) m_help.Show(this, "help.help", m_szName);
        if (event->m_nType == kMouseLeave) m_help.Hide(this, "help.help");
        return 0;
    }
    if (event->m_pControl == m_pArea) {
        if (event->m_nType == kMouseMove) Speak(ColoringSegmentAt(m_map, event->m_nX, event->m_nY));
        if (event->m_nType == kMouseLeave) StopSpeaking();
        if (event->m_nType == kMouseClick) CheckFinished();
        return 0;
    }
    if (event->m_nType != kMouseClick) return 0;
    if (IsNamed(event, "al.vissza")) {
        LxSendMessage(kMsgReadingGame1);
        return static_cast<int>(kMsgReadingGame1);
    }
    for (int k = 0; k < static_cast<int>(m_segments.size()); ++k)
        if (IsNamed(event, PaletteButton(k).c_str())) Choose(k);
    return 0;
}

void CLxRColoringScr::Choose(int k) {
    if (m_bFinished) return;
    SetControlFlag(PaletteButton(k).c_str(), kSelected, true);
    if (m_pArea) m_pArea->m_nColour = m_segments[k].colours[0];
    for (int other = 0; other < static_cast<int>(m_segments.size()); ++other) {
        int state = 0;
        if (other == k || !GetControlState(PaletteButton(other).c_str(), &state) ||
            !(state & kSelected))
            continue;
        SetControlFlag(PaletteButton(other).c_str(), kSelected, false);
        break;
    }
}

// The first time every area has its colour: the palette rests, the area takes no more
// clicks and shows the finished picture under the outline, and the end sound plays.
void CLxRColoringScr::CheckFinished() {
    if (m_bFinished || !m_pArea || m_segments.empty() ||
        !ColoringFinished(m_pArea->Surface(), m_segments))
        return;
    m_bFinished = true;
    for (int k = 0; k < static_cast<int>(m_segments.size()); ++k)
        SetControlState(PaletteButton(k).c_str(), kVisible);
    m_pArea->m_nFlags &= ~kEnabled;
    CLxSurface* finished = LoadBitmap((m_base + ".bmp").c_str());
    if (finished->m_pSurface) {
        CLxSurface* shown = CreateSurface(kColoringSize, kColoringSize);
        FillRectRGB(shown, nullptr, kWhite);
        BltSurfaceFast(shown, 0, 0, finished, nullptr, 0);
        CLxRLEBitmap outline((m_base + ".rle").c_str());
        outline.Draw(shown, 0, 0, kBlack);
        m_pArea->SetSurface(shown);
    }
    FreeSurface(&finished);
    m_pArea->Draw();
    if (m_pEndSound) PlaySound(m_pEndSound, false, true);
}

// Says the segment's letter in a loop: data\speech\abc\<letter>.wav, "ő" and "ű"
// written doubled. The same segment again changes nothing.
void CLxRColoringScr::Speak(int segment) {
    if (segment == m_nSpeaking || segment < 0 || segment >= static_cast<int>(m_segments.size()))
        return;
    StopSpeaking();
    m_nSpeaking = segment;
    char codes[2] = {static_cast<char>(m_segments[segment].letter), 0};
    std::string path = "data\\speech\\abc\\" + ToDoubledText(codes) + ".wav";
    if (!g_pSoundServer) return;
    m_pSpeech = g_pSoundServer->GetSound(path.c_str(), -1, -1);
    if (m_pSpeech) PlaySound(m_pSpeech, true, true);
}

void CLxRColoringScr::StopSpeaking() {
    m_nSpeaking = -1;
    if (!m_pSpeech) return;
    StopSound(m_pSpeech);
    if (g_pSoundServer) g_pSoundServer->ReleaseSound(m_pSpeech);
    m_pSpeech = nullptr;
}
