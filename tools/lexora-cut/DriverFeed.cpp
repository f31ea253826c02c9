// The driver fed as a sound device feeds it (see DriverFeed.h). The recording and the
// capture ring have the program's sizes; the block buffer and the whole-utterance buffer
// have the capacities the recogniser's script gives them.
#include "lexora-cut/DriverFeed.h"

#include <algorithm>
#include <cstring>

#include "media/LxSoundBuffer.h"
#include "shell/LxClock.h"
#include "shell/LxDriver.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxProgram.h"

namespace {

constexpr int kRate = 22050;
constexpr int kBlockSamples = 512;         // the driver's analysed block
constexpr int kUtteranceSamples = 1323000; // the whole-utterance buffer: 60 s
constexpr const char* kSearch = "mod_classic.start()";

int s_now = 0;
int FeedClock() {
    return s_now;
}
LRESULT DriverOnly(UINT msg, WPARAM, LPARAM) {
    DriverMessage(msg);
    return 0;
}

} // namespace

DriverFeed::DriverFeed() {
    s_now = 1000;
    LxSetClock(FeedClock);
    LxSetMessageHandler(DriverOnly);
    g_pRecording = new CBSoundBuffer(nullptr);
    g_pRecording->Create(kRecordingSamples, kRate, 16);
    g_pCaptureRing = new CBSoundBuffer(nullptr);
    g_pCaptureRing->Create(kCaptureRingSamples, kRate, 16);
    m_root.Add("mod_sb.wfi", new FakeSoundBuffer(kBlockSamples));
    m_pUtterance = m_root.Add("mod_classic.wfi", new FakeSoundBuffer(kUtteranceSamples));
    // The search runs on what the driver copied: keep it (the lock is held around it).
    m_root.m_onRun = [this](const std::string& script) {
        if (script != kSearch || !m_pListening) return;
        const float* data = m_pUtterance->data;
        std::vector<int16_t>& out = m_pListening->utterance;
        out.resize(std::max(m_pUtterance->length, 0));
        for (size_t i = 0; i < out.size(); i++)
            out[i] = static_cast<int16_t>(data[i]);
    };
    Restart();
}

DriverFeed::~DriverFeed() {
    DriverStopTimer();
    delete g_pRecording;
    delete g_pCaptureRing;
    g_pRecording = g_pCaptureRing = nullptr;
    g_Driver.pRoot = nullptr;
    LxSetMessageHandler(nullptr);
    LxSetClock(nullptr);
}

void DriverFeed::Restart() {
    DriverInit(&m_root);
}

// The device writes whole blocks into the ring as their time comes.
void DriverFeed::Deliver(const std::vector<int16_t>& samples, int from, int to) {
    unsigned write;
    g_pCaptureRing->GetPositions(nullptr, &write);
    void *r1, *r2;
    unsigned l1, l2;
    g_pCaptureRing->Lock(0, 0, &r1, &l1, &r2, &l2, CBSoundBuffer::kLockAll);
    uint8_t* ring = static_cast<uint8_t*>(r1);
    unsigned size = g_pCaptureRing->GetSize();
    for (int i = from; i < to; i++) {
        std::memcpy(ring + write, &samples[i], 2);
        write = (write + 2) % size;
    }
    g_pCaptureRing->SetPosition(write);
}

DriverCut DriverFeed::Listen(const std::vector<int16_t>& samples, int block) {
    DriverCut cut;
    m_pListening = &cut;
    g_Driver.nState = kDriverWaiting;
    DriverMessage(kMsgRecord);
    int start = s_now, delivered = 0, n = static_cast<int>(samples.size());
    while (delivered < n && g_Driver.nState != kDriverRecognised) {
        s_now += kPeriodMs;
        int due = int((long long)(s_now - start) * kRate / 1000) / block * block;
        if (due > delivered) {
            Deliver(samples, delivered, std::min(due, n));
            delivered = std::min(due, n);
        }
        DriverPoll(s_now);
        cut.started = cut.started || g_Driver.nState >= kDriverUtterance;
    }
    cut.state = g_Driver.nState;
    cut.ended = g_Driver.nState >= kDriverEnded;
    cut.begin = nUtteranceBegin / 2;
    cut.end = nUtteranceEnd < 0 ? -1 : nUtteranceEnd / 2;
    DriverMessage(kMsgStop);
    m_pListening = nullptr;
    return cut;
}
