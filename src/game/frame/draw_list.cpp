// The draw list: records appended during the update, replayed by the render.
#include <cmath>

#include "base/angles.h"
#include "game/core/app.h"
#include "game/core/globals.h"
#include "game/core/records.h"
#include "game/frame/glyphs.h"
#include "game/my_app.h"
#include "graphics/graphics.h"

namespace {
constexpr int kRecordFloats = drawrec::kFloats;
constexpr int kLastRecordStart = kDrawListFloats - kRecordFloats - 1;
constexpr float kWhite = 255.0f;
constexpr float kPortraitShrink = 1.5f;
// Windows wider or taller than these shapes fit the game to a centred area of this shape, with
// black bars beside it, rather than a logical screen too flat or too narrow for the game.
constexpr float kWidestAspect = 2.0f;
constexpr float kTallestAspect = 0.5f;
constexpr int kSmoothing = 10;
constexpr float kMaxFrameNumber = 1e6f;

// Text layout.
constexpr int kFirstGlyphCode = 32;
constexpr int kNullGlyph = -kFirstGlyphCode;
constexpr int kLastGlyph = 127;
constexpr int kButtonMark = 172;  // the character ¬: the next letter names a button
constexpr int kMeasuredButtonAdjust = 2;
constexpr int kButtonAdjust = 4;
constexpr int kWideButtonAdjust = 6;
constexpr int kKeyboardGlyphOffset = 16;
constexpr int kKeyboardControls = 0;

// Frame numbers of a record, -1 for values no frame can have.
int FrameIndex(float value) {
  return value >= 0 && value < kMaxFrameNumber ? static_cast<int>(value) : -1;
}

// Narrow and wide letters of the font, by glyph number; other glyphs keep the fallback.
int GlyphAdjust(int glyph, int fallback) {
  const int adjust = GlyphSpacingAdjust(glyph + kFirstGlyphCode);
  return adjust != 0 ? adjust : fallback;
}

struct ButtonGlyph {
  int glyph;
  int adjust;
};

// The controller-button glyph a letter after ¬ stands for.
ButtonGlyph ButtonFor(int letter) {
  switch (letter) {
    case 'J':
      return {96, kButtonAdjust};
    case 'K':
      return {97, kButtonAdjust};
    case 'L':
      return {98, kButtonAdjust};
    case 'I':
      return {99, kButtonAdjust};
    case 'U':
      return {100, kWideButtonAdjust};
    case 'O':
      return {101, kWideButtonAdjust};
    case 'Q':
      return {102, kButtonAdjust};
    case 'E':
      return {103, kButtonAdjust};
    case 'F':
      return {104, kButtonAdjust};
    case 'W':
      return {105, kButtonAdjust};
    case 'S':
      return {106, kButtonAdjust};
    case 'A':
      return {107, kButtonAdjust};
    case 'D':
      return {108, kButtonAdjust};
    default:
      return {letter - kFirstGlyphCode, kButtonAdjust};
  }
}

// Appends one record stamped with the current draw state; a full list drops it.
void Append(MyApp& app, float kind, float x, float y, float sizeX, float sizeY, float frame) {
  if (app.frame.DrawCount > kLastRecordStart) return;
  float* record = &app.frame.DrawList[static_cast<size_t>(app.frame.DrawCount)];
  record[drawrec::kSlot] = kind;
  record[drawrec::kX] = x;
  record[drawrec::kY] = y;
  record[drawrec::kRot] = app.frame.DrawRot;
  record[drawrec::kSizeX] = sizeX;
  record[drawrec::kSizeY] = sizeY;
  record[drawrec::kFrame] = frame;
  record[drawrec::kAlpha] = app.frame.DrawAlpha;
  record[drawrec::kRed] = app.frame.DrawRed;
  record[drawrec::kGreen] = app.frame.DrawGreen;
  record[drawrec::kBlue] = app.frame.DrawBlue;
  record[drawrec::kBlend] = static_cast<float>(app.frame.DrawBlend);
  app.frame.DrawCount += kRecordFloats;
}

void TrackRenderRate(MyApp& app) {
  const int now = Millisecs();
  if (now <= app.frame.RenderMillisecs) return;
  app.frame.RenderRate = 1000 / (now - app.frame.RenderMillisecs);
  app.frame.SmoothRenderRate =
      (app.frame.SmoothRenderRate * (kSmoothing - 1) + app.frame.RenderRate) / kSmoothing;
  app.frame.RenderMillisecs = now;
}

// A filled rectangle one pixel beyond every edge stands in for a clear. Beside a fit area
// narrower than the device it is black, and drawing is kept inside the area.
void ClearScreen(const MyApp& app) {
  if (app.frame.FitWidth < app.deviceWidth || app.frame.FitHeight < app.deviceHeight) {
    ::SetColor(0, 0, 0);
    ::SetAlpha(1);
    ::DrawRect(-1, -1, static_cast<float>(app.deviceWidth + 2),
               static_cast<float>(app.deviceHeight + 2));
    ::SetScissor(app.frame.FitLeft, app.frame.FitTop, app.frame.FitWidth, app.frame.FitHeight);
  }
  ::SetColor(app.frame.ClearRed, app.frame.ClearGreen, app.frame.ClearBlue);
  ::SetAlpha(app.frame.ClearAlpha);
  ::DrawRect(-1, -1, static_cast<float>(app.deviceWidth + 2),
             static_cast<float>(app.deviceHeight + 2));
  ::SetColor(kWhite, kWhite, kWhite);
  ::SetAlpha(1);
}

// A new device size needs the image set for its resolution.
void ReloadOnDeviceChange(MyApp& app) {
  if (app.deviceWidth == app.frame.LastDevWidth && app.deviceHeight == app.frame.LastDevHeight)
    return;
  app.frame.LoadStep = 1;
  app.frame.LastDevWidth = app.deviceWidth;
  app.frame.LastDevHeight = app.deviceHeight;
}
}  // namespace

void MyApp::OnRender() {
  TrackRenderRate(*this);
  ReloadOnDeviceChange(*this);
  FitScreen(static_cast<float>(deviceWidth), static_cast<float>(deviceHeight));
  ClearScreen(*this);
  ReplayDrawList();
}

void MyApp::FitArea(float width, float height) {
  frame.FitWidth = width;
  frame.FitHeight = height;
  if (width > height * kWidestAspect) frame.FitWidth = std::floor(height * kWidestAspect);
  if (width < height * kTallestAspect) frame.FitHeight = std::floor(width / kTallestAspect);
  frame.FitLeft = std::floor((width - frame.FitWidth) / 2);
  frame.FitTop = std::floor((height - frame.FitHeight) / 2);
}

void MyApp::FitScreen(float deviceWidth, float deviceHeight) {
  // A device without area (a minimised window) keeps the last fit rather than dividing by 0.
  if (deviceWidth <= 0 || deviceHeight <= 0) return;
  FitArea(deviceWidth, deviceHeight);
  const float width = frame.FitWidth, height = frame.FitHeight;
  const float shrink = width < height ? kPortraitShrink : 1.0f;
  frame.ScaleX = (width - 2 * frame.Overscan) / (kDesignWidth * shrink);
  frame.ScaleY = (height - 2 * frame.Overscan) / (kDesignHeight * shrink);
  float scale = 0;
  if (frame.ScaleX >= frame.ScaleY) {
    frame.FitMode = 1;
    scale = width / (kDesignWidth * shrink);
    frame.ScaleY = frame.ScaleX;
  } else {
    frame.FitMode = 2;
    scale = height / (kDesignHeight * shrink);
    frame.ScaleX = frame.ScaleY;
  }
  frame.ScreenWidth = width / scale;
  frame.ScreenHeight = height / scale;
  frame.Landscape = frame.ScreenHeight <= frame.ScreenWidth ? 1 : 0;
}

void MyApp::ReplayDrawList() {
  const float left = frame.FitLeft + frame.Overscan;
  const float top =
      frame.FitTop + (deviceWidth > 0 ? frame.Overscan * static_cast<float>(deviceHeight) /
                                            static_cast<float>(deviceWidth)
                                      : 0);
  for (int at = 0; at < frame.DrawCount - (kRecordFloats - 1); at += kRecordFloats) {
    const float* r = &frame.DrawList[static_cast<size_t>(at)];
    ::SetAlpha(r[drawrec::kAlpha]);
    ::SetColor(r[drawrec::kRed], r[drawrec::kGreen], r[drawrec::kBlue]);
    // Blending is always alpha here; sending it again would cut the batch at every record.
    if (GetGraphicsContext().blend != kBlendAlpha) ::SetBlend(kBlendAlpha);
    const float x = r[drawrec::kX] * frame.ScaleX + left;
    const float y = r[drawrec::kY] * frame.ScaleY + top;
    const float kind = r[drawrec::kSlot];
    if (kind == drawrec::kRectMarker) {
      ::DrawRect(x, y, r[drawrec::kSizeX] * frame.ScaleX, r[drawrec::kSizeY] * frame.ScaleY);
    } else if (kind == drawrec::kOvalMarker) {
      ::DrawEllipse(x, y, r[drawrec::kSizeX] * frame.ScaleX, r[drawrec::kSizeY] * frame.ScaleY);
    } else if (kind == drawrec::kLineMarker) {
      ::DrawLine(x, y, r[drawrec::kSizeX] * frame.ScaleX + left,
                 r[drawrec::kSizeY] * frame.ScaleY + top);
    } else if (kind > -1 && kind < kImageSlots) {
      Image* image = frame.Images[static_cast<size_t>(kind)];
      if (image) {
        ::DrawImage2(
            image, x, y, r[drawrec::kRot], r[drawrec::kSizeX] * frame.ScaleX * frame.ImageScale,
            r[drawrec::kSizeY] * frame.ScaleY * frame.ImageScale, FrameIndex(r[drawrec::kFrame]));
      }
    }
  }
}

void MyApp::CLS2D(float red, float green, float blue, float alpha) {
  if (red > kNoArg) {
    frame.ClearRed = red;
    frame.ClearGreen = green;
    frame.ClearBlue = blue;
    if (alpha > kNoArg) frame.ClearAlpha = alpha;
  }
  ResetDraw();
  frame.DrawCount = 0;
}

void MyApp::ResetDraw() {
  frame.DrawSizeX = frame.DrawSizeY = 1.0f;
  frame.DrawRot = 0;
  frame.DrawRed = frame.DrawGreen = frame.DrawBlue = kWhite;
  frame.DrawAlpha = 1.0f;
  frame.DrawBlend = 1;
}

void MyApp::SetSize(float sizeX, float sizeY) {
  frame.DrawSizeX = sizeX;
  frame.DrawSizeY = sizeY > kNoArg ? sizeY : sizeX;
}

void MyApp::SetCol(float red, float green, float blue, float alpha) {
  frame.DrawRed = red;
  frame.DrawGreen = green;
  frame.DrawBlue = blue;
  if (alpha > kNoArg) frame.DrawAlpha = alpha;
}

void MyApp::SetRot(float angle) {
  frame.DrawRot = -angle;
}

void MyApp::Alpha(float alpha) {
  frame.DrawAlpha = alpha;
}

void MyApp::DrawImg(int slot, float x, float y, int imageFrame) {
  Append(*this, static_cast<float>(slot), x, y, frame.DrawSizeX, frame.DrawSizeY,
         static_cast<float>(imageFrame));
}

void MyApp::Rect(float x, float y, float width, float height) {
  Append(*this, drawrec::kRectMarker, x, y, width, height, 0);
}

void MyApp::Oval(float x, float y, float xRadius, float yRadius) {
  Append(*this, drawrec::kOvalMarker, x, y, xRadius, yRadius, 0);
}

void MyApp::Line(float x1, float y1, float x2, float y2) {
  Append(*this, drawrec::kLineMarker, x1, y1, x2, y2, 0);
}

void MyApp::Text(float x, float y, const String& text, float alignX, float alignY, int fontOffset) {
  Text(x, y, std::u16string_view(text.Units()), alignX, alignY, fontOffset);
}

void MyApp::Text(float x, float y, std::u16string_view text, float alignX, float alignY,
                 int fontOffset) {
  // The text is laid out as if it began with a space, without building that string.
  const int length = static_cast<int>(text.size()) + 1;
  const auto charAt = [&](int i) {
    return i == 0 ? ' ' : static_cast<int>(text[static_cast<size_t>(i - 1)]);
  };
  const auto cellWidth =
      static_cast<float>(frame.ImageInfo[imageinfo::Index(frame.FontImage, imageinfo::kFrameW)]);
  const auto cellHeight =
      static_cast<float>(frame.ImageInfo[imageinfo::Index(frame.FontImage, imageinfo::kFrameH)]);

  float measured = 0;
  for (int i = 0; i < length - 1; ++i) {
    int adjust = 0;
    if (charAt(i) == kButtonMark) {
      adjust = kMeasuredButtonAdjust;
      ++i;
    } else {
      adjust = GlyphAdjust(charAt(i) - kFirstGlyphCode, 0);
    }
    measured = std::trunc(measured + (cellWidth + static_cast<float>(adjust)) * frame.DrawSizeX);
  }

  const float angle = -frame.DrawRot;
  const float lineHeight = cellHeight * frame.DrawSizeY;
  const float lift = (alignY - 1) * 0.5f;
  const float startX =
      x + SinDeg(angle - 90) * measured * 0.5f * alignX + SinDeg(angle) * lineHeight * lift;
  const float startY =
      y - CosDeg(angle - 90) * measured * 0.5f * alignX - CosDeg(angle) * lineHeight * lift;
  const float alongX = SinDeg(90 - frame.DrawRot);
  const float alongY = -CosDeg(90 - frame.DrawRot);
  const float downX = SinDeg(180 - frame.DrawRot);
  const float downY = -CosDeg(180 - frame.DrawRot);

  float penX = startX;
  float penY = startY;
  int line = 0;
  for (int i = 0; i < length; ++i) {
    const int code = charAt(i);
    ButtonGlyph glyph{code - kFirstGlyphCode, 0};
    if (code == kButtonMark) {
      if (i + 1 == length) break;  // a trailing mark names no button
      glyph = ButtonFor(charAt(++i));
      if (controls.ControlStyle == kKeyboardControls) glyph.glyph += kKeyboardGlyphOffset;
    } else if (code == '\\' && i + 1 < length && charAt(i + 1) == 'n') {
      ++i;
      ++line;
      const float down = static_cast<float>(line) * lineHeight;
      // One cell in, where the leading space leaves the first line.
      const float in = cellWidth * frame.DrawSizeX;
      penX = startX + down * downX + in * alongX;
      penY = startY + down * downY + in * alongY;
      continue;
    }
    if (glyph.glyph == kNullGlyph) continue;
    glyph.adjust = GlyphAdjust(glyph.glyph, glyph.adjust);
    if (glyph.glyph >= 1 && glyph.glyph <= kLastGlyph) {
      DrawImg(frame.FontImage + fontOffset, penX, penY, glyph.glyph);
    }
    const float advance = (cellWidth + static_cast<float>(glyph.adjust)) * frame.DrawSizeX;
    penX += alongX * advance;
    penY += alongY * advance;
  }
}

String MyApp::PaddedNumber(int value, int digits, const String& pad) {
  String padded;
  for (int i = 0; i < digits + 1; ++i) padded += pad;
  padded += String::FromInt(value);
  return padded.Slice(padded.Length() - digits);
}
