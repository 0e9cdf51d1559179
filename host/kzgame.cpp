#include "host/kzgame.h"

#include <cstdlib>
#include <ctime>

KzGame* KzGame::_game = nullptr;

KzGame::KzGame() { _game = this; }

KzGame::~KzGame() {
    if (_game == this) _game = nullptr;
}

void KzGame::SetDelegate(KzGameDelegate* delegate) { _delegate = delegate; }
KzGameDelegate* KzGame::Delegate() { return _delegate; }
void KzGame::SetKeyboardEnabled(bool enabled) { _keyboardEnabled = enabled; }
bool KzGame::KeyboardEnabled() { return _keyboardEnabled; }
void KzGame::SetUpdateRate(int hertz) { _updateRate = hertz; }
int KzGame::UpdateRate() { return _updateRate; }
bool KzGame::Started() { return _started; }
bool KzGame::Suspended() { return _suspended; }
int KzGame::Millisecs() { return 0; }

void KzGame::GetDate(Array<int> date) {
    const int n = date.Length();
    if (n == 0) return;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const int fields[] = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                          local.tm_min,         local.tm_sec,     0};
    for (int i = 0; i < n && i < 7; ++i) date[i] = fields[i];
}

bool KzGame::PollJoystick(int, Array<float>, Array<float>, Array<float>, Array<bool>) { return false; }
void KzGame::OpenUrl(String) {}
void KzGame::SetMouseVisible(bool) {}
int KzGame::GetDeviceWidth() { return 0; }
int KzGame::GetDeviceHeight() { return 0; }
void KzGame::SetDeviceWindow(int, int, int) {}
Array<KzDisplayMode*> KzGame::GetDisplayModes() { return Array<KzDisplayMode*>(); }
KzDisplayMode* KzGame::GetDesktopMode() { return nullptr; }
void KzGame::SetSwapInterval(int) {}
String KzGame::PathToFilePath(String path) { return path; }
unsigned char* KzGame::LoadImageData(String, int*, int*, int*) { return nullptr; }
void KzGame::DecodeImagesAhead(Array<String>) {}
void KzGame::DecodeSoundsAhead(Array<String>) {}
unsigned char* KzGame::LoadAudioData(String, int*, int*, int*, int*) { return nullptr; }

void KzGame::Die(ThrowableObject*) {
    kzPrint(String("Zarnik Runtime Error : Uncaught Zarnik Exception"));
    std::exit(-1);
}

void KzGame::gc_collect() { gc_step(_delegate); }

// A delegate call guarded against the application's exceptions, followed by
// one collection step. Without a delegate there is nobody to forward to.
template <class Call>
void KzGame::Forward(Call call) {
    if (!_delegate) return;
    try {
        call(_delegate);
    } catch (ThrowableObject* ex) {
        Die(ex);
    }
    gc_collect();
}

void KzGame::StartGame() {
    if (_started) return;
    _started = true;
    Forward([](KzGameDelegate* d) { d->StartGame(); });
}

void KzGame::SuspendGame() {
    if (!_started || _suspended) return;
    _suspended = true;
    Forward([](KzGameDelegate* d) { d->SuspendGame(); });
}

void KzGame::ResumeGame() {
    if (!_started || !_suspended) return;
    _suspended = false;
    Forward([](KzGameDelegate* d) { d->ResumeGame(); });
}

void KzGame::UpdateGame() {
    if (!_started || _suspended) return;
    Forward([](KzGameDelegate* d) { d->UpdateGame(); });
}

void KzGame::RenderGame() {
    if (!_started) return;
    Forward([](KzGameDelegate* d) { d->RenderGame(); });
}

void KzGame::KeyEvent(int event, int data) {
    if (!_started) return;
    Forward([=](KzGameDelegate* d) { d->KeyEvent(event, data); });
}

void KzGame::MouseEvent(int event, int data, float x, float y) {
    if (!_started) return;
    Forward([=](KzGameDelegate* d) { d->MouseEvent(event, data, x, y); });
}

void KzGame::TouchEvent(int event, int data, float x, float y) {
    if (!_started) return;
    Forward([=](KzGameDelegate* d) { d->TouchEvent(event, data, x, y); });
}

void KzGame::MotionEvent(int event, int data, float x, float y, float z) {
    if (!_started) return;
    Forward([=](KzGameDelegate* d) { d->MotionEvent(event, data, x, y, z); });
}

void KzGame::DiscardGraphics() {
    if (!_started) return;
    Forward([](KzGameDelegate* d) { d->DiscardGraphics(); });
}
