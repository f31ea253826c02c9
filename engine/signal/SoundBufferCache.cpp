// SoundBufferCache(name, script): the sound buffer for a name, produced by a script on
// the first request. Each Process reads the wanted name from the first Input; on a
// miss it runs the text of the second Input as a script in the creation context (the
// script may read the name back from this object, which is an Input too) and keeps a
// copy of the sound buffer the script yields. The output points into the cached copy.
//
// The table is shared by every cache object and keeps the last ten sounds, evicting
// in order of insertion (a hit does not refresh). Creating or destroying a cache
// object empties it. Entries are sound-buffer objects of their own, and a cache object
// holds the entry it points at, so emptying the table or evicting never frees samples
// that an output still shows. The output is marked complete, as the copies are.
//
// Consumers size their arrays by the source's capacity when they are created and read
// no further than it, so the object offers the default sound-buffer capacity from the
// start and every copy has at least that much room.
#include <algorithm>
#include <cstring>
#include <deque>
#include <string>

#include "core/Arguments.h"
#include "core/Expander.h"
#include "core/Lexer.h"
#include "core/Report.h"
#include "signal/SampleBuffer.h"

namespace {
constexpr size_t kEntries = 10;

// A cached copy: owns its samples, complete.
class CachedSound : public SampleBuffer {
  public:
    explicit CachedSound(const SoundBuffer& from)
        : SampleBuffer(std::max(from.length, kDefaultCapacity)) {
        length = from.data ? std::max(from.length, 0) : 0;
        std::copy(from.data, from.data + length, data);
        sps = from.sps;
        complete = 1;
    }
};

struct Entry {
    std::string name;
    CachedSound* sound; // one reference, the table's
};

std::deque<Entry>& Table() {
    static auto* table = new std::deque<Entry>; // lives as long as the library
    return *table;
}

void EmptyTable() {
    for (Entry& entry : Table())
        entry.sound->Release();
    Table().clear();
}

CachedSound* Lookup(const std::string& name) {
    for (Entry& entry : Table())
        if (entry.name == name) return entry.sound;
    return nullptr;
}

CachedSound* Store(const std::string& name, const SoundBuffer& sound) {
    if (Table().size() == kEntries) {
        Table().front().sound->Release();
        Table().pop_front();
    }
    auto* copy = new CachedSound(sound);
    copy->AddRef();
    Table().push_back(Entry{name, copy});
    return copy;
}

class SoundBufferCache : public ModuleBase, public virtual SoundBuffer, public virtual Input {
  public:
    SoundBufferCache(Input* name, Input* script, Interface* context)
        : name_(name), script_(script), context_(context) {
        capacity = SampleBuffer::kDefaultCapacity;
        name_->AddRef();
        script_->AddRef();
        context_->AddRef();
        EmptyTable();
    }
    ~SoundBufferCache() override {
        Show(nullptr);
        EmptyTable();
        name_->Release();
        script_->Release();
        context_->Release();
    }

    int Process() override {
        Show(nullptr);
        int size = 0, kind = 0;
        const char* chunk = name_->Read(&size, &kind);
        if (!chunk) return -1;
        wanted_.assign(chunk, std::max(size, 0));
        offered_ = false;
        CachedSound* sound = Lookup(wanted_);
        if (!sound) sound = Produce();
        if (!sound) return -1;
        Show(sound);
        return 0;
    }

    // As an Input: the name of the current request, once.
    const char* Read(int* size, int* kind) override {
        if (offered_) {
            *size = 0;
            *kind = 0;
            return nullptr;
        }
        offered_ = true;
        return Current(size, kind);
    }
    const char* Current(int* size, int* kind) override {
        *size = static_cast<int>(wanted_.size());
        *kind = kKindText;
        return wanted_.c_str();
    }
    void Rewind() override {}

    void* GetInterface(const char* name) override {
        if (!std::strcmp(name, "Input")) {
            AddRef();
            return static_cast<Input*>(this);
        }
        if (!std::strcmp(name, "SoundBuffer")) {
            AddRef();
            return static_cast<SoundBuffer*>(this);
        }
        return ModuleBase::GetInterface(name);
    }

  private:
    CachedSound* Produce() {
        script_->Rewind();
        int size = 0, kind = 0;
        const char* text = script_->Read(&size, &kind);
        std::string script = text && size > 0 ? std::string(text, size) : std::string();
        Expander expander(script.data(), static_cast<int>(script.size()));
        Lexer lexer(&expander);
        Interface* result = context_->Call(&lexer, context_);
        auto* sound = QueryInterface<SoundBuffer>(result, "SoundBuffer");
        if (!sound) {
            if (result && result != context_) {
                result->AddRef(); // disposes of a temporary the script left
                result->Release();
            }
            return nullptr;
        }
        CachedSound* copy = Store(wanted_, *sound);
        sound->Release();
        return copy;
    }

    // Points the output at an entry (held) or at nothing.
    void Show(CachedSound* sound) {
        if (sound) sound->AddRef();
        if (shown_) shown_->Release();
        shown_ = sound;
        data = sound ? sound->data : nullptr;
        length = sound ? sound->length : 0;
        capacity = sound ? sound->capacity : SampleBuffer::kDefaultCapacity;
        if (!sound) return;
        sps = sound->sps;
        complete = 1; // a cached sound is whole: consumers flush their tails on it
    }

    Input* name_;
    Input* script_;
    Interface* context_;
    CachedSound* shown_ = nullptr;
    std::string wanted_;
    bool offered_ = true;
};
} // namespace

Interface* NewSoundBufferCache(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 2);
    auto name = args.Get<Input>(0, "Input");
    if (!name) {
        report("SoundBufferCache: First parameter must be 'Input' Interface");
        return nullptr;
    }
    auto script = args.Get<Input>(1, "Input");
    if (!script) {
        report("SoundBufferCache: Second parameter must be 'Input' Interface");
        return nullptr;
    }
    auto* cache = new SoundBufferCache(name.get(), script.get(), context);
    return cache;
}
