// The terminal dialog; see TransWindow.h.
#include "core/TransWindow.h"

#include <condition_variable>
#include <cstring>
#include <mutex>

#include "Input.h"
#include "Output.h"
#include "core/EngineLock.h"
#include "core/Expander.h"
#include "core/File.h"
#include "core/Lexer.h"
#include "core/Obtained.h"
#include "core/TransDialog.h"
#include "core/WindowScreen.h"

namespace {
// The process-wide "Bu" event: a pulse wakes only the reads waiting at that moment.
struct PressEvent {
    std::mutex mutex;
    std::condition_variable pulsed;
    unsigned long generation = 0;
    int waiting = 0;
};
PressEvent& Event() {
    static auto* event = new PressEvent; // never destroyed: threads may wait at exit
    return *event;
}

class PutField : public virtual Output {
  public:
    explicit PutField(std::shared_ptr<TransWindow::Fields> fields) : fields_(std::move(fields)) {}

    using Output::Write;
    // Wide texts end here, and show nothing.
    void Write(const char*, int) override {}
    void Write(const char* text) override {
        std::string shown;
        for (const char* p = text; *p; ++p) {
            if (*p == '\n') shown += '\r';
            shown += *p;
        }
        {
            std::lock_guard<std::mutex> lock(fields_->mutex);
            fields_->output = shown;
        }
        WindowScreen::Update(fields_->screenId);
    }
    void WriteLine(const char* text) override { Write(text); }

    // put(x): shows the text of x when x is an Input giving text.
    Interface* Call(Input* lexer, Interface* context) override {
        if (!lexer) return this;
        int level = lexer->Depth();
        Interface* argument = context->Interpret(lexer, context);
        lexer->SkipBlock(level);
        // Holding the Input disposes of a temporary argument when the hold ends.
        if (auto input = Obtain<Input>(argument, "Input")) {
            input->Rewind();
            int length = 0, kind = 0;
            const char* text = input->Read(&length, &kind);
            if (text && kind == 103 && length >= 0) Write(std::string(text, length).c_str());
            return this;
        }
        if (argument && argument != context && argument->RefCount() == 0) {
            argument->AddRef();
            argument->Release();
        }
        return this;
    }

    void* GetInterface(const char* name) override {
        if (std::strcmp(name, "Output")) return Interface::GetInterface(name);
        AddRef();
        return static_cast<Output*>(this);
    }

  private:
    std::shared_ptr<TransWindow::Fields> fields_;
};

class GetField : public virtual Input {
  public:
    explicit GetField(std::shared_ptr<TransWindow::Fields> fields) : fields_(std::move(fields)) {}

    // Waits, without the engine lock, for the next press anywhere.
    const char* Read(int* length, int* kind) override {
        {
            EngineUnlocked unlocked;
            PressEvent& event = Event();
            std::unique_lock<std::mutex> lock(event.mutex);
            unsigned long seen = event.generation;
            ++event.waiting;
            event.pulsed.wait(lock, [&] { return event.generation != seen; });
            --event.waiting;
        }
        {
            std::lock_guard<std::mutex> lock(fields_->mutex);
            last_ = fields_->input.substr(0, TransWindow::kMaxText);
            fields_->input.clear();
        }
        WindowScreen::Update(fields_->screenId);
        return Current(length, kind);
    }
    const char* Current(int* length, int* kind) override {
        *length = static_cast<int>(last_.size());
        *kind = 103;
        return last_.c_str();
    }
    void Rewind() override {}

    // get(): runs what the user sends as statements in the calling context.
    Interface* Call(Input* lexer, Interface* context) override {
        if (lexer) lexer->SkipBlock(lexer->Depth());
        if (!context) return nullptr;
        AddRef();
        Interface* result;
        {
            Expander expander(static_cast<Input*>(this));
            Lexer statements(&expander);
            result = context->Interface::Call(&statements, context);
        }
        Release();
        return result == this ? nullptr : result;
    }

    void* GetInterface(const char* name) override {
        if (std::strcmp(name, "Input")) return nullptr;
        AddRef();
        return static_cast<Input*>(this);
    }

  private:
    std::shared_ptr<TransWindow::Fields> fields_;
    std::string last_;
};

bool Prefix(const char* name, int length, const char* member) {
    return length > 0 && length <= 3 && !std::strncmp(name, member, length);
}
} // namespace

TransWindow::TransWindow()
    : fields_(std::make_shared<Fields>()), put_(new PutField(fields_)),
      get_(new GetField(fields_)) {
    put_->AddRef();
    get_->AddRef();
    fields_->screenId = WindowScreen::Show(NewTransDialog(fields_));
}

TransWindow::~TransWindow() {
    WindowScreen::Close(fields_->screenId);
    get_->Release();
    put_->Release();
}

Interface* TransWindow::Find(const char* name, int length) {
    if (Prefix(name, length, "put")) return put_;
    if (Prefix(name, length, "get")) return get_;
    return FolderBase::Find(name, length);
}

void TransWindow::Press(const std::string& typed, bool quit) {
    {
        std::lock_guard<std::mutex> lock(fields_->mutex);
        fields_->input = typed;
        if (quit) fields_->quitted = true;
    }
    WindowScreen::Update(fields_->screenId);
    Pulse();
}

void TransWindow::Pulse() {
    PressEvent& event = Event();
    {
        std::lock_guard<std::mutex> lock(event.mutex);
        ++event.generation;
    }
    event.pulsed.notify_all();
}

std::string TransWindow::OutputField() const {
    std::lock_guard<std::mutex> lock(fields_->mutex);
    return fields_->output;
}

std::string TransWindow::InputField() const {
    std::lock_guard<std::mutex> lock(fields_->mutex);
    return fields_->input;
}

bool TransWindow::Quitted() const {
    std::lock_guard<std::mutex> lock(fields_->mutex);
    return fields_->quitted;
}

int TransWindow::Waiting() {
    std::lock_guard<std::mutex> lock(Event().mutex);
    return Event().waiting;
}

Interface* NewTransWindow(Input*, Interface*) {
    return new TransWindow;
}
