// Badges: the text of each badge, the strips that slide an awarded badge's
// name in at the left edge over every screen, and the badges panel of the
// title screen.
#include <algorithm>
#include <cmath>

#include "game/myapp.h"

namespace {

// A badge's text is its name, a bar, and its detail.
constexpr const char* kTestBadge = "Test Badge|This is a Test Badge which has no purpose.";
constexpr Char kBar = '|';

// Notification strips: 13 slots stacked up from the bottom edge. A strip
// slides in over its first 10 updates, stays until its timer passes 230,
// slides out over the next 10 and frees its slot past 240.
constexpr int kNotificationSlots = 13;
constexpr int kStripWidth = 160;
constexpr int kStripHeight = 32;
constexpr int kSlotPitch = 34;
constexpr int kStripSpeed = 16;
constexpr int kStripLeavesAfter = 230;
constexpr int kStripEndsAfter = 240;
constexpr int kBadgeIcons = 64;  // frames of the badges image, one per badge id

// The badges panel scrolls 16 units per update while down or up is held,
// never above its top, and eases a sixth of the way each update.
constexpr float kScrollStep = 16;
constexpr float kDragFactor = 1.5f;
constexpr float kEaseDivisor = 6;
constexpr float kEaseSnap = 6;

// The index of the first bar at or after `from`, or -1.
int BarAfter(const String& text, int from) {
    for (int i = from; i < text.Length(); ++i) {
        if (text[i] == kBar) return i;
    }
    return -1;
}

// The text between `from` and the next bar (or the end).
String UpToBar(const String& text, int from) {
    const int bar = BarAfter(text, from);
    return String(text.Data() + from, (bar < 0 ? text.Length() : bar) - from);
}

int StripX(int timer) {
    const int x = timer > kStripLeavesAfter ? (kStripEndsAfter - timer) * kStripSpeed - kStripWidth
                                            : timer * kStripSpeed - kStripWidth;
    return std::min(x, 0);
}

}  // namespace

String c_MyApp::p_BadgeID(int id) { return id == 0 ? String(kTestBadge) : String(); }

String c_MyApp::p_BadgeName(int id) { return UpToBar(p_BadgeID(id), 0); }

// A badge without a detail has the empty detail.
String c_MyApp::p_BadgeDetail(int id) {
    const String text = p_BadgeID(id);
    const int bar = BarAfter(text, 0);
    return bar < 0 ? String() : UpToBar(text, bar + 1);
}

int c_MyApp::p_ShowBadges() {
    p_ResetDraw();
    for (int slot = 0; slot < kNotificationSlots; ++slot) {
        int& timer = m_badgeShowB[slot];
        if (timer <= 0) continue;
        timer += 1;
        const float x = static_cast<float>(StripX(timer));
        // The slot is freed, but the strip is still drawn this update.
        if (timer > kStripEndsAfter) timer = 0;

        const int id = m_badgeShowA[slot];
        const float top = kz_Tarvo_jscrh - static_cast<float>((slot + 1) * kSlotPitch);
        p_SetCol(0, 0, 80, 0.8f);
        p_Rect(x, top, kStripWidth, kStripHeight);
        p_SetCol(255, 255, 255, 1);
        p_Text(x + 16, top + 4, p_BadgeName(id), 0, 0);
        if (id < kBadgeIcons) {
            p_SetSize(0.5f, 0.5f);
            p_DrawImg(image_id::kBadges, x + kStripWidth - 16, top + kStripHeight / 2, static_cast<float>(id));
            p_SetSize(1, 1);
        }
    }
    return 0;
}

// The panel lists no badges yet and has no close control of its own: back
// closes it (see the controls).
int c_MyApp::p_BadgesBox() {
    const float w = kz_Tarvo_jscrw;
    const float h = kz_Tarvo_jscrh;
    p_SetSize(1, 1);
    p_SetRot(0);
    m_blend = 1;
    p_SetCol(255, 125, 0, 0.8f);
    p_Rect(0.1f * w, -1, 0.8f * w, h + 2);
    p_SetCol(100, 0, 0, 0.8f);
    p_Rect(0.12f * w, -1, 0.76f * w, h + 2);
    p_SetCol(255, 255, 255, 1);

    if (p_AnyButtonDown({button_id::kDown}) != 0) m_badgeScrollTarget -= kScrollStep;
    if (p_AnyButtonDown({button_id::kUp}) != 0) m_badgeScrollTarget += kScrollStep;
    m_badgeScrollTarget = std::min(m_badgeScrollTarget, 0.0f);
    if (m_mouseWasDown > 0 && static_cast<float>(m_mouseX) > 0.12f * w) {
        m_badgeScrollTarget -= static_cast<float>(m_prevMouseY - m_mouseY) * kDragFactor;
    }
    m_badgeScroll -= (m_badgeScroll - m_badgeScrollTarget) / kEaseDivisor;
    if (std::fabs(m_badgeScroll - m_badgeScrollTarget) < kEaseSnap) m_badgeScroll = m_badgeScrollTarget;
    return 0;
}
