// The frame: what the game draws this frame (the draw list and its drawing state), the
// logical screen fitted into the window, the loaded images and the loader's progress.
// May use: core.
#pragma once

#include <array>
#include <string_view>

#include "base/runtime.h"
#include "base/string.h"
#include "game/core/globals.h"

class Image;
struct GameAudio;

constexpr int kImageSlots = 100;
constexpr int kImageInfoInts = 300;
constexpr int kDrawListFloats = 37500;

struct GameFrame {
  // Starts a new list; the clear colour changes only when red is given.
  void CLS2D(float red = kNoArg, float green = kNoArg, float blue = kNoArg, float alpha = kNoArg);
  void ResetDraw();
  void SetSize(float sizeX, float sizeY = kNoArg);
  void SetCol(float red, float green, float blue, float alpha = kNoArg);
  void SetRot(float angle);
  void Alpha(float alpha);
  void DrawImg(int slot, float x, float y, int imageFrame);
  void Rect(float x, float y, float width, float height);
  void Oval(float x, float y, float xRadius, float yRadius);
  void Line(float x1, float y1, float x2, float y2);
  void Text(float x, float y, const String& text, float alignX = 0, float alignY = 0,
            int fontOffset = 0);
  // The same for text held in a fixed buffer, so a frame can draw changing numbers without
  // building a string.
  void Text(float x, float y, std::u16string_view text, float alignX = 0, float alignY = 0,
            int fontOffset = 0);
  // The fit area, logical screen size and scale factors for a device of that size in pixels.
  void FitScreen(float deviceWidth, float deviceHeight);
  // The centred part of the device the game draws in: all of it unless it is wider than 2:1 or
  // taller than 1:2, whole pixels.
  void FitArea(float deviceWidth, float deviceHeight);
  // The frame on a device of that size: fitted, cleared, and the list drawn.
  void Render(int deviceWidth, int deviceHeight);
  // True when the last frame rendered is what Render would draw now: the same list, clear and
  // device. A see-through clear blends over the frame before, so that frame is never still.
  bool StillShown(int deviceWidth, int deviceHeight) const;

  // ---- Loading (loader.cpp) ----
  // Picks the image density and starts loading from step 1 (the logo and font at once).
  void Reload();
  // One loading step per update, drawing the loading screen each time; the effects go into
  // audio, and the start jingle plays under the sound mode.
  void Loader(GameAudio& audio, int soundMode);
  // Loads name + density suffix + ".png" into a slot; a missing file leaves the slot empty.
  void LoadImg(int slot, const String& name, int frameW, int frameH, int frames, int flags);
  // Loads the 16 x 16-cell glyph sheet into a slot and makes it the text font.
  void LoadFont(int slot, const String& name, int glyphW, int glyphH);
  // The loading screen: logo, band and two rings of dots turning.
  void WaitStart();
  // ImageLevel and ImageScale from the device size.
  void ChooseImageLevel();
  // Frees every loaded image; the game owns them until then.
  void DiscardImages();

  // The controls the player started the level with (keyboard 0, controller 1, pointer 2): text
  // shows their buttons.
  int ControlStyle = 0;
  // The logical screen the game lays itself out on, and the console's overscan margin.
  float ScreenWidth = kDesignWidth, ScreenHeight = kDesignHeight;
  float Overscan = 0;
  float ClearRed = 0, ClearGreen = 0, ClearBlue = 0, ClearAlpha = 0;
  int DrawCount = 0;
  std::array<float, kDrawListFloats> DrawList{};
  float DrawSizeX = 0, DrawSizeY = 0, DrawRot = 0;
  float DrawRed = 0, DrawGreen = 0, DrawBlue = 0, DrawAlpha = 0;
  int DrawBlend = 0;
  float ScaleX = 0, ScaleY = 0;
  // The fit area in device pixels (FitArea).
  float FitLeft = 0, FitTop = 0, FitWidth = 0, FitHeight = 0;
  int FitMode = 0;
  int Landscape = 0;
  int LastDevWidth = 0, LastDevHeight = 0;
  int ImageLevel = 0;
  float ImageScale = 0;
  std::array<Image*, kImageSlots> Images{};
  std::array<int, kImageInfoInts> ImageInfo{};
  int FontImage = 0;
  int LoadStep = 0;
  int LogoSoundDone = 0;
  // The loading screen's turning rings.
  int SpinAngle = 0;
  // Updates and renders per second, as measured and smoothed, for the debug overlay.
  struct Rates {
    int RenderMillisecs = 0, RenderRate = 0, SmoothRenderRate = 0;
    int LastMillisecs = 0, FrameRate = 0, SmoothFrameRate = 0;
  } rates;

 private:
  // What the last Render drew, for StillShown.
  struct Shown {
    std::array<float, kDrawListFloats> list{};
    int count = -1;
    int deviceWidth = 0, deviceHeight = 0;
    std::array<float, 5> layout{};
  };
  // The clear colour and the overscan, which place and colour the list.
  std::array<float, 5> Layout() const;
  void RememberShown(int deviceWidth, int deviceHeight);

  // Appends one record stamped with the current draw state; a full list drops it.
  void Append(float kind, float x, float y, float sizeX, float sizeY, float imageFrame);
  void TrackRenderRate();
  // Clears the frame and gives the first record the replay must draw.
  int ClearScreen(int deviceWidth, int deviceHeight, float left, float top) const;
  // The start of the last opaque rectangle over the whole fit area, or -1.
  int LastCoveringRecord(float left, float top) const;
  bool ImageMayShow(const Image& image, float x, float y, float scaleX, float scaleY) const;
  // Draws the records from first on, placed from the fit area's corner.
  void ReplayDrawList(int first, float left, float top);

  Shown shown_;
  void ReloadOnDeviceChange(int deviceWidth, int deviceHeight);
};

// The value right-aligned in digits characters, padded on the left with pad.
String PaddedNumber(int value, int digits, const String& pad);
