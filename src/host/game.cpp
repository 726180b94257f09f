// The platform-neutral host: the event wrappers that guard each call into the game and run one
// collector step after it, the files and saved-state services that need nothing but the C
// library, and the answers of a host without a desktop layer.
#include "host/game.h"

#include <cstdlib>
#include <string>

#include "host/files.h"
#include "platform/atomic_write_file.h"

KvGame* KvGame::_game = nullptr;

namespace {

const char kStateFile[] = "./.tarvikstate";

}  // namespace

KvGame::KvGame() { _game = this; }

KvGame::~KvGame() {
    if (_game == this) _game = nullptr;
}

void KvGame::SetDelegate(KvGameDelegate* value) { delegate = value; }
KvGameDelegate* KvGame::Delegate() { return delegate; }
void KvGame::SetKeyboardEnabled(bool enabled) { keyboardEnabled = enabled; }
bool KvGame::KeyboardEnabled() { return keyboardEnabled; }
void KvGame::SetUpdateRate(int hertz) { updateRate = hertz; }
int KvGame::UpdateRate() { return updateRate; }
bool KvGame::Started() { return started; }
bool KvGame::Suspended() { return suspended; }
int KvGame::Millisecs() { return 0; }
void KvGame::GetDate(Array<int>) {}

int KvGame::SaveState(String state) {
    std::string bytes = to_utf8(state);
    return atomic_write_file(kStateFile, bytes.data(), bytes.size());
}

String KvGame::LoadState() { return LoadString(String(kStateFile)); }

String KvGame::LoadString(String path) {
    FILE* file = OpenFile(path, String("rb"));
    if (!file) return String();
    String text = String::Load(file);
    std::fclose(file);
    return text;
}

bool KvGame::PollJoystick(int, Array<float>, Array<float>, Array<float>, Array<bool>) { return false; }
void KvGame::OpenUrl(String) {}
void KvGame::SetMouseVisible(bool) {}
int KvGame::GetDeviceWidth() { return 0; }
int KvGame::GetDeviceHeight() { return 0; }
void KvGame::SetDeviceWindow(int, int, int) {}
Array<KvDisplayMode*> KvGame::GetDisplayModes() { return Array<KvDisplayMode*>(); }
KvDisplayMode* KvGame::GetDesktopMode() { return nullptr; }
void KvGame::SetSwapInterval(int) {}
String KvGame::PathToFilePath(String path) { return path; }

FILE* KvGame::OpenFile(String path, String mode) {
    String file = PathToFilePath(path);
    if (file.Length() == 0) return nullptr;
    return std::fopen(to_utf8(file).c_str(), to_utf8(mode).c_str());
}

unsigned char* KvGame::LoadData(String path, int* length) {
    FILE* file = OpenFile(path, String("rb"));
    if (!file) return nullptr;
    unsigned char* data = read_whole_file(file, length);
    std::fclose(file);
    return data;
}

unsigned char* KvGame::LoadImageData(String, int*, int*, int*) { return nullptr; }
unsigned char* KvGame::LoadAudioData(String, int*, int*, int*, int*) { return nullptr; }

void KvGame::Die(ThrowableObject*) {
    kvPrint(String("Tarvik Runtime Error : Uncaught Tarvik Exception"));
    std::exit(kExitRuntimeError);
}

void KvGame::gc_collect() { ::gc_collect(delegate); }

// Every wrapper has the same shape: a state test, the call into the game inside the guard,
// then the collector step that must follow every delivered event.
template <class Call>
void KvGame::deliver(Call call) {
    try {
        call();
    } catch (ThrowableObject* exception) {
        Die(exception);
    }
    gc_collect();
}

void KvGame::StartGame() {
    if (started) return;
    started = true;
    deliver([this] { delegate->StartGame(); });
}

void KvGame::SuspendGame() {
    if (!started || suspended) return;
    suspended = true;
    deliver([this] { delegate->SuspendGame(); });
}

void KvGame::ResumeGame() {
    if (!started || !suspended) return;
    suspended = false;
    deliver([this] { delegate->ResumeGame(); });
}

void KvGame::UpdateGame() {
    if (!started || suspended) return;
    deliver([this] { delegate->UpdateGame(); });
}

void KvGame::RenderGame() {
    if (!started) return;
    deliver([this] { delegate->RenderGame(); });
}

void KvGame::KeyEvent(int event, int data) {
    if (!started) return;
    deliver([=, this] { delegate->KeyEvent(event, data); });
}

void KvGame::MouseEvent(int event, int data, float x, float y) {
    if (!started) return;
    deliver([=, this] { delegate->MouseEvent(event, data, x, y); });
}

void KvGame::TouchEvent(int event, int data, float x, float y) {
    if (!started) return;
    deliver([=, this] { delegate->TouchEvent(event, data, x, y); });
}

void KvGame::MotionEvent(int event, int data, float x, float y, float z) {
    if (!started) return;
    deliver([=, this] { delegate->MotionEvent(event, data, x, y, z); });
}

void KvGame::DiscardGraphics() {
    if (!started) return;
    deliver([this] { delegate->DiscardGraphics(); });
}
