// Images and sounds in their slots: the resolution that suits the window, the
// logo and font at once, everything else one step per update while the
// loading screen turns; sound effects on rotating channels, and the tune.
#include "game/myapp.h"
#include "game/sheets.h"

namespace {

// Windows this large in either direction get the larger art.
constexpr int kDoubleArtFrom = 631;
constexpr int kQuadrupleArtFrom = 1231;
constexpr int kEffectChannelsUsed = 24;
constexpr int kFontAdvance = 7;
constexpr int kFontLineHeight = 10;

// The sound setting: 0 silent, 1 effects and music, 2 effects, 3 music.
bool EffectsOn(int setting) { return setting == 1 || setting == 2; }
bool MusicOn(int setting) { return setting == 1 || setting == 3; }

String ResolutionSuffix(int hdLevel) {
    if (hdLevel == 4) return String("-hd2");
    if (hdLevel == 2) return String("-hd");
    return String();
}

String PictureFile(String path, int hdLevel) { return path + ResolutionSuffix(hdLevel) + String(".png"); }

// The picture each loader step loads, in step order; step 6's is the font.
struct StepPicture {
    int step;
    const Sheet* sheet;
};
constexpr StepPicture kStepPictures[] = {
    {1, &sheet::kIcons},      {2, &sheet::kMenuButtons}, {3, &sheet::kPad},        {4, &sheet::kMakerLogo},
    {5, &sheet::kTestCard},   {6, &sheet::kFont},        {11, &sheet::kMenuArt},   {12, &sheet::kTitleLogo},
    {13, &sheet::kParticles}, {14, &sheet::kBadges},     {15, &sheet::kGfx},       {16, &sheet::kWalkers},
};

void LoadSheet(c_MyApp& app, const Sheet& sheet) {
    if (sheet.id == sheet::kFont.id) {
        app.p_LoadFont(sheet.id, String(sheet.path), kFontAdvance, kFontLineHeight);
    } else {
        app.p_LoadImg(sheet.id, String(sheet.path), sheet.frameWidth, sheet.frameHeight, sheet.frames, 1);
    }
}

void LoadPictureOfStep(c_MyApp& app, int step) {
    for (const StepPicture& picture : kStepPictures) {
        if (picture.step == step) LoadSheet(app, *picture.sheet);
    }
}

// The pictures of the steps after `step`, at the current resolution, begin
// decoding now; each step then only uploads its picture. The picture of
// `step` itself is decoded meanwhile by the step, beside the first of these.
void DecodePicturesAfterStep(const c_MyApp& app, int step) {
    int count = 0;
    for (const StepPicture& picture : kStepPictures) count += picture.step > step ? 1 : 0;
    Array<String> files(count);
    int i = 0;
    for (const StepPicture& picture : kStepPictures) {
        if (picture.step > step) files[i++] = PictureFile(String(picture.sheet->path), app.m_hdLevel);
    }
    kz_graphics_DecodeImagesAhead(files);
}

// "sfx/001.wav" and so on: the id with at least three digits.
String EffectFile(int id) {
    String number(id);
    if (id < 10) number = String("00") + number;
    else if (id < 100) number = String("0") + number;
    return String("sfx/") + number + String(".wav");
}

String TuneFile(const String& name) { return String("sfx/") + name + String(".ogg"); }

// The first start decodes the level tune on the side while it loads, so that
// the first level's countdown does not wait for it; later levels play the
// copy the audio device keeps.
void DecodeTuneAhead(const c_MyApp& app) {
    if (app.m_logoJinglePlayed != 0 || !MusicOn(app.m_settings[setting::kSound])) return;
    Array<String> tune(1);
    tune[0] = TuneFile(String(kLevelTune));
    kz_audio_DecodeSoundsAhead(tune);
}

}  // namespace

int c_MyApp::p_ChooseResolution() {
    const int width = kz_app_DeviceWidth();
    const int height = kz_app_DeviceHeight();
    if (width >= kQuadrupleArtFrom || height >= kQuadrupleArtFrom) {
        m_hdLevel = 4;
    } else if (width >= kDoubleArtFrom || height >= kDoubleArtFrom) {
        m_hdLevel = 2;
    } else {
        m_hdLevel = 1;
    }
    m_hdScale = 1.0f / static_cast<float>(m_hdLevel);
    return 0;
}

int c_MyApp::p_Reload() {
    m_clsRed = 0;
    m_clsGreen = 0;
    m_clsBlue = 0;
    m_clsAlpha = 1.0f;
    p_ChooseResolution();
    // The font decodes on the side while the logo decodes here.
    Array<String> font(1);
    font[0] = PictureFile(String(sheet::kFont.path), m_hdLevel);
    kz_graphics_DecodeImagesAhead(font);
    LoadSheet(*this, sheet::kMakerLogo);
    LoadSheet(*this, sheet::kFont);
    m_loadStep = 1;
    return 0;
}

// One asset per update, so start-up never blocks the window; a missing file
// leaves its slot empty and loading goes on.
int c_MyApp::p_Loader() {
    p_ChooseResolution();
    const int step = m_loadStep;
    switch (step) {
        case 1:
            DecodePicturesAfterStep(*this, step);
            DecodeTuneAhead(*this);
            LoadPictureOfStep(*this, step);
            p_LoadSFX(sound_id::kJingle);
            break;
        case 2:
        case 3:
        case 5:
        case 6:
        case 11:
        case 12:
        case 13:
        case 14:
        case 15: LoadPictureOfStep(*this, step); break;
        case 4:
            LoadPictureOfStep(*this, step);
            // The jingle belongs to the first start only, not to reloads.
            if (m_logoJinglePlayed == 0) {
                p_PlaySFX(sound_id::kJingle, 1.0f, 1.0f, 0.0f);
                m_logoJinglePlayed = 1;
            }
            break;
        case 7: p_LoadSFX(sound_id::kDing); break;
        case 8: p_LoadSFX(sound_id::kFallingTone); break;
        case 9: p_LoadSFX(sound_id::kSelect); break;
        case 10: p_LoadSFX(sound_id::kTick); break;
        case 16:
            p_LoadSFX(sound_id::kFirstBoarding);
            LoadPictureOfStep(*this, step);
            break;
        default:
            if (step >= 17 && step <= 20) {
                p_LoadSFX(sound_id::kFirstBoarding + step - 16);  // the other boardings, 12 to 15
            } else if (step >= 21 && step <= 28) {
                p_LoadSFX(sound_id::kFirstCry + step - 21);  // the cries to the lift-off, 2 to 9
            } else {
                m_loadStep = 0;
            }
            break;
    }
    if (m_loadStep > 0) ++m_loadStep;
    p_WaitStart(1);
    return 0;
}

// Frame sizes are given in virtual units; the files hold m_hdLevel times as
// many pixels, and the replay scales by m_hdScale to cover the same area.
int c_MyApp::p_LoadImg(int id, String path, int frameWidth, int frameHeight, int frames, int flags) {
    const String file = PictureFile(path, m_hdLevel);
    gc_assign(m_images[id], static_cast<c_Image*>(nullptr));
    gc_assign(m_images[id], kz_graphics_LoadImage2(file, frameWidth * m_hdLevel, frameHeight * m_hdLevel,
                                                   frames, flags));
    m_imageInfo[image_info::Index(id, image_info::kFrameWidth)] = frameWidth * m_hdLevel;
    m_imageInfo[image_info::Index(id, image_info::kFrameHeight)] = frameHeight * m_hdLevel;
    m_imageInfo[image_info::Index(id, image_info::kFrameCount)] = frames;
    return 0;
}

// A font is the font sheet's square cells for the characters from 32 on;
// its info holds the advance and line height in virtual units.
int c_MyApp::p_LoadFont(int id, String path, int advance, int lineHeight) {
    const String file = PictureFile(path, m_hdLevel);
    gc_assign(m_images[id], kz_graphics_LoadImage2(file, sheet::kFont.frameWidth * m_hdLevel,
                                                   sheet::kFont.frameHeight * m_hdLevel, sheet::kFont.frames, 1));
    m_imageInfo[image_info::Index(id, image_info::kFrameWidth)] = advance;
    m_imageInfo[image_info::Index(id, image_info::kFrameHeight)] = lineHeight;
    m_imageInfo[image_info::Index(id, image_info::kFrameCount)] = sheet::kFont.frames;
    m_fontImage = id;
    return 0;
}

int c_MyApp::p_LoadSFX(int id) {
    gc_assign(m_sounds[id], kz_audio_LoadSound(EffectFile(id)));
    return 0;
}

// Effects rotate over 24 channels, so one is cut only by the 24th effect
// after it. The channel's rate, volume and pan are set even when the slot is
// empty (or the id names no slot).
int c_MyApp::p_PlaySFX(int id, float rate, float volume, float pan) {
    if (!EffectsOn(m_settings[setting::kSound])) return 0;
    m_sfxChannel = (m_sfxChannel + 1) % kEffectChannelsUsed;
    if (m_sfxChannel < 0) m_sfxChannel = 0;
    const int channel = m_channels[m_sfxChannel];
    kz_audio_StopChannel(channel);
    if (id >= 0 && id < sound_id::kSlots && m_sounds[id]) kz_audio_PlaySound(m_sounds[id], channel, 0);
    kz_audio_SetChannelRate(channel, rate);
    kz_audio_SetChannelVolume(channel, volume);
    kz_audio_SetChannelPan(channel, pan);
    return 0;
}

// A new tune always stops the old one, even when music is off.
int c_MyApp::p_PlayTune(String name, int flags) {
    const String file = TuneFile(name);
    if (m_musicOn != 0) {
        kz_audio_StopMusic();
        m_musicOn = 0;
    }
    if (!MusicOn(m_settings[setting::kSound])) return 0;
    kz_audio_PlayMusic(file, flags);
    m_musicOn = 1;
    return 0;
}

int c_MyApp::p_StopTune() {
    kz_audio_StopMusic();
    m_musicOn = 0;
    return 0;
}
