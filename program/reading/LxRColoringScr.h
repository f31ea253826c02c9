// The colouring game, a lesson's seventh game: the child fills the areas of an outline
// picture with colours from a palette. Each palette button shows a letter and its area's
// colour; moving over an area says its letter. When every area has its colour the
// finished picture replaces the child's and the end sound plays. The screen is a
// reading screen (its header and controls stay); "al.vissza" goes to reading game 1.
//
// The lesson's element "coloring" names the picture folder ("path", inside the data
// folder) and the picture ("name"), and its "segment" elements give each area's letter
// ("character"), one to four colours ("color", 0x... hexadecimal, else decimal) and the
// seed points of its areas ("position", "x,y" items). In the folder, "<name>.rle" is the
// outline, "<name>.bmp" the finished picture and "<name>_b.mlr" an overlay drawn over
// the child's picture. Material whose outline and finished picture differ in size, or
// exceed the area, is not played: the picture stays empty and clicks fill nothing.
#pragma once
#include <string>
#include <vector>

#include "reading/LxColoringButton.h"
#include "reading/LxExerciseHelp.h"
#include "reading/LxReadingScr.h"

class CLxRColoringScr : public CLxReadingScr {
  public:
    static constexpr int kMaxSegments = 10, kMaxSeeds = 256;

    explicit CLxRColoringScr(const char* descriptionPath);
    ~CLxRColoringScr() override;

    int OnMouseEvent(CLxMouseEvent* event) override;
    int OnTimerEvent(CLxTimerEvent*) override { return 0; }

    const std::vector<LxColoringSegment>& Segments() const { return m_segments; }
    const std::vector<uint8_t>& Map() const { return m_map; }
    CLxColoringButton* Area() const { return m_pArea; }
    bool Finished() const { return m_bFinished; }
    // The segment whose letter is being said, -1 for none.
    int Speaking() const { return m_nSpeaking; }

  private:
    bool ReadMaterial(std::string* folder);
    CLxSurface* BuildArea(const std::string& base);
    void BuildPalette();
    void PaintPaletteButton(int k);
    void Choose(int k);
    void CheckFinished();
    void Speak(int segment);
    void StopSpeaking();

    std::vector<LxColoringSegment> m_segments;
    std::vector<uint8_t> m_map;
    std::string m_base; // the picture's path without its ending
    CLxColoringButton* m_pArea = nullptr;
    bool m_bFinished = false;
    int m_nSpeaking = -1;
    CBSoundBuffer* m_pSpeech = nullptr;
    CBSoundBuffer* m_pEndSound = nullptr;
    CLxExerciseHelp m_help;
};
