// The draw list: records appended during the update, replayed by the render.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/angles.h"
#include "game/core/app.h"
#include "game/core/globals.h"
#include "game/core/records.h"
#include "game/frame/frame.h"
#include "game/frame/glyphs.h"
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

}  // namespace

void GameFrame::Append(float kind, float x, float y, float sizeX, float sizeY, float imageFrame) {
  if (DrawCount > kLastRecordStart) return;
  float* record = &DrawList[static_cast<size_t>(DrawCount)];
  record[drawrec::kSlot] = kind;
  record[drawrec::kX] = x;
  record[drawrec::kY] = y;
  record[drawrec::kRot] = DrawRot;
  record[drawrec::kSizeX] = sizeX;
  record[drawrec::kSizeY] = sizeY;
  record[drawrec::kFrame] = imageFrame;
  record[drawrec::kAlpha] = DrawAlpha;
  record[drawrec::kRed] = DrawRed;
  record[drawrec::kGreen] = DrawGreen;
  record[drawrec::kBlue] = DrawBlue;
  record[drawrec::kBlend] = static_cast<float>(DrawBlend);
  DrawCount += kRecordFloats;
}

void GameFrame::TrackRenderRate() {
  const int now = Millisecs();
  if (now <= rates.RenderMillisecs) return;
  rates.RenderRate = 1000 / (now - rates.RenderMillisecs);
  rates.SmoothRenderRate =
      (rates.SmoothRenderRate * (kSmoothing - 1) + rates.RenderRate) / kSmoothing;
  rates.RenderMillisecs = now;
}

// Everything under an opaque rectangle over the whole fit area is hidden, so the replay starts
// above the last such record and a clear to its colour stands in for it. Without one the clear
// colour fills the area: by a clear when opaque, else by a rectangle one pixel beyond every
// edge, blended over what the frame held. Beside a fit area narrower than the device it is
// black, and drawing is kept inside the area.
int GameFrame::ClearScreen(int deviceWidth, int deviceHeight, float left, float top) const {
  if (FitWidth < static_cast<float>(deviceWidth) || FitHeight < static_cast<float>(deviceHeight)) {
    ::Cls(0, 0, 0);
    ::SetScissor(FitLeft, FitTop, FitWidth, FitHeight);
  }
  const int covering = LastCoveringRecord(left, top);
  if (covering >= 0) {
    const float* r = &DrawList[static_cast<size_t>(covering)];
    const float alpha = r[drawrec::kAlpha];
    ::Cls(r[drawrec::kRed] * alpha, r[drawrec::kGreen] * alpha, r[drawrec::kBlue] * alpha);
    return covering + kRecordFloats;
  }
  if (ClearAlpha >= 1) {
    ::Cls(ClearRed * ClearAlpha, ClearGreen * ClearAlpha, ClearBlue * ClearAlpha);
    return 0;
  }
  ::SetColor(ClearRed, ClearGreen, ClearBlue);
  ::SetAlpha(ClearAlpha);
  ::DrawRect(-1, -1, static_cast<float>(deviceWidth + 2), static_cast<float>(deviceHeight + 2));
  return 0;
}

int GameFrame::LastCoveringRecord(float left, float top) const {
  for (int at = DrawCount - kRecordFloats; at >= 0; at -= kRecordFloats) {
    const float* r = &DrawList[static_cast<size_t>(at)];
    if (r[drawrec::kSlot] != drawrec::kRectMarker || !(r[drawrec::kAlpha] >= 1)) continue;
    const float x = r[drawrec::kX] * ScaleX + left, y = r[drawrec::kY] * ScaleY + top;
    const float right = x + r[drawrec::kSizeX] * ScaleX;
    const float bottom = y + r[drawrec::kSizeY] * ScaleY;
    if (x <= FitLeft && y <= FitTop && right >= FitLeft + FitWidth && bottom >= FitTop + FitHeight)
      return at;
  }
  return -1;
}

// A new device size needs the image set for its resolution.
void GameFrame::ReloadOnDeviceChange(int deviceWidth, int deviceHeight) {
  if (deviceWidth == LastDevWidth && deviceHeight == LastDevHeight) return;
  LoadStep = 1;
  LastDevWidth = deviceWidth;
  LastDevHeight = deviceHeight;
}

void GameFrame::Render(int deviceWidth, int deviceHeight) {
  TrackRenderRate();
  ReloadOnDeviceChange(deviceWidth, deviceHeight);
  FitScreen(static_cast<float>(deviceWidth), static_cast<float>(deviceHeight));
  // The console's overscan margin, kept to the device's shape.
  const float left = FitLeft + Overscan;
  const float top = FitTop + (deviceWidth > 0 ? Overscan * static_cast<float>(deviceHeight) /
                                                    static_cast<float>(deviceWidth)
                                              : 0);
  ReplayDrawList(ClearScreen(deviceWidth, deviceHeight, left, top), left, top);
  RememberShown(deviceWidth, deviceHeight);
}

std::array<float, 5> GameFrame::Layout() const {
  return {ClearRed, ClearGreen, ClearBlue, ClearAlpha, Overscan};
}

void GameFrame::RememberShown(int deviceWidth, int deviceHeight) {
  std::copy_n(DrawList.begin(), DrawCount, shown_.list.begin());
  shown_.count = DrawCount;
  shown_.deviceWidth = deviceWidth;
  shown_.deviceHeight = deviceHeight;
  shown_.layout = Layout();
}

bool GameFrame::StillShown(int deviceWidth, int deviceHeight) const {
  if (!(ClearAlpha >= 1)) return false;
  return shown_.count == DrawCount && shown_.deviceWidth == deviceWidth &&
         shown_.deviceHeight == deviceHeight && shown_.layout == Layout() &&
         std::memcmp(shown_.list.data(), DrawList.data(),
                     static_cast<size_t>(DrawCount) * sizeof(float)) == 0;
}

void GameFrame::FitArea(float width, float height) {
  FitWidth = width;
  FitHeight = height;
  if (width > height * kWidestAspect) FitWidth = std::floor(height * kWidestAspect);
  if (width < height * kTallestAspect) FitHeight = std::floor(width / kTallestAspect);
  FitLeft = std::floor((width - FitWidth) / 2);
  FitTop = std::floor((height - FitHeight) / 2);
}

void GameFrame::FitScreen(float deviceWidth, float deviceHeight) {
  // A device without area (a minimised window) keeps the last fit rather than dividing by 0.
  if (deviceWidth <= 0 || deviceHeight <= 0) return;
  FitArea(deviceWidth, deviceHeight);
  const float width = FitWidth, height = FitHeight;
  const float shrink = width < height ? kPortraitShrink : 1.0f;
  ScaleX = (width - 2 * Overscan) / (kDesignWidth * shrink);
  ScaleY = (height - 2 * Overscan) / (kDesignHeight * shrink);
  float scale = 0;
  if (ScaleX >= ScaleY) {
    FitMode = 1;
    scale = width / (kDesignWidth * shrink);
    ScaleY = ScaleX;
  } else {
    FitMode = 2;
    scale = height / (kDesignHeight * shrink);
    ScaleX = ScaleY;
  }
  ScreenWidth = width / scale;
  ScreenHeight = height / scale;
  Landscape = ScreenHeight <= ScreenWidth ? 1 : 0;
}

// Whether any of the image, turned any way about its handle at (x, y), can fall in the fit
// area: the rooms around the ship are drawn whole, most of them off the screen.
bool GameFrame::ImageMayShow(const Image& image, float x, float y, float scaleX,
                             float scaleY) const {
  const float reachX = std::max(image.handleX, static_cast<float>(image.width) - image.handleX);
  const float reachY = std::max(image.handleY, static_cast<float>(image.height) - image.handleY);
  const float reach = std::hypot(reachX, reachY) * std::max(std::fabs(scaleX), std::fabs(scaleY));
  // NaN reaches are drawn, as they always were.
  return !(x + reach < FitLeft || y + reach < FitTop || x - reach > FitLeft + FitWidth ||
           y - reach > FitTop + FitHeight);
}

void GameFrame::ReplayDrawList(int first, float left, float top) {
  for (int at = first; at < DrawCount - (kRecordFloats - 1); at += kRecordFloats) {
    const float* r = &DrawList[static_cast<size_t>(at)];
    ::SetAlpha(r[drawrec::kAlpha]);
    ::SetColor(r[drawrec::kRed], r[drawrec::kGreen], r[drawrec::kBlue]);
    // Blending is always alpha here; sending it again would cut the batch at every record.
    if (GetGraphicsContext().blend != kBlendAlpha) ::SetBlend(kBlendAlpha);
    const float x = r[drawrec::kX] * ScaleX + left;
    const float y = r[drawrec::kY] * ScaleY + top;
    const float kind = r[drawrec::kSlot];
    if (kind == drawrec::kRectMarker) {
      ::DrawRect(x, y, r[drawrec::kSizeX] * ScaleX, r[drawrec::kSizeY] * ScaleY);
    } else if (kind == drawrec::kOvalMarker) {
      ::DrawEllipse(x, y, r[drawrec::kSizeX] * ScaleX, r[drawrec::kSizeY] * ScaleY);
    } else if (kind == drawrec::kLineMarker) {
      ::DrawLine(x, y, r[drawrec::kSizeX] * ScaleX + left, r[drawrec::kSizeY] * ScaleY + top);
    } else if (kind > -1 && kind < kImageSlots) {
      Image* image = Images[static_cast<size_t>(kind)];
      const float scaleX = r[drawrec::kSizeX] * ScaleX * ImageScale;
      const float scaleY = r[drawrec::kSizeY] * ScaleY * ImageScale;
      if (image && ImageMayShow(*image, x, y, scaleX, scaleY)) {
        ::DrawImage2(image, x, y, r[drawrec::kRot], scaleX, scaleY, FrameIndex(r[drawrec::kFrame]));
      }
    }
  }
}

void GameFrame::CLS2D(float red, float green, float blue, float alpha) {
  if (red > kNoArg) {
    ClearRed = red;
    ClearGreen = green;
    ClearBlue = blue;
    if (alpha > kNoArg) ClearAlpha = alpha;
  }
  ResetDraw();
  DrawCount = 0;
}

void GameFrame::ResetDraw() {
  DrawSizeX = DrawSizeY = 1.0f;
  DrawRot = 0;
  DrawRed = DrawGreen = DrawBlue = kWhite;
  DrawAlpha = 1.0f;
  DrawBlend = 1;
}

void GameFrame::SetSize(float sizeX, float sizeY) {
  DrawSizeX = sizeX;
  DrawSizeY = sizeY > kNoArg ? sizeY : sizeX;
}

void GameFrame::SetCol(float red, float green, float blue, float alpha) {
  DrawRed = red;
  DrawGreen = green;
  DrawBlue = blue;
  if (alpha > kNoArg) DrawAlpha = alpha;
}

void GameFrame::SetRot(float angle) {
  DrawRot = -angle;
}

void GameFrame::Alpha(float alpha) {
  DrawAlpha = alpha;
}

void GameFrame::DrawImg(int slot, float x, float y, int imageFrame) {
  Append(static_cast<float>(slot), x, y, DrawSizeX, DrawSizeY, static_cast<float>(imageFrame));
}

void GameFrame::Rect(float x, float y, float width, float height) {
  Append(drawrec::kRectMarker, x, y, width, height, 0);
}

void GameFrame::Oval(float x, float y, float xRadius, float yRadius) {
  Append(drawrec::kOvalMarker, x, y, xRadius, yRadius, 0);
}

void GameFrame::Line(float x1, float y1, float x2, float y2) {
  Append(drawrec::kLineMarker, x1, y1, x2, y2, 0);
}

void GameFrame::Text(float x, float y, const String& text, float alignX, float alignY,
                     int fontOffset) {
  Text(x, y, std::u16string_view(text.Units()), alignX, alignY, fontOffset);
}

void GameFrame::Text(float x, float y, std::u16string_view text, float alignX, float alignY,
                     int fontOffset) {
  // The text is laid out as if it began with a space, without building that string.
  const int length = static_cast<int>(text.size()) + 1;
  const auto charAt = [&](int i) {
    return i == 0 ? ' ' : static_cast<int>(text[static_cast<size_t>(i - 1)]);
  };
  const auto cellWidth =
      static_cast<float>(ImageInfo[imageinfo::Index(FontImage, imageinfo::kFrameW)]);
  const auto cellHeight =
      static_cast<float>(ImageInfo[imageinfo::Index(FontImage, imageinfo::kFrameH)]);

  float measured = 0;
  for (int i = 0; i < length - 1; ++i) {
    int adjust = 0;
    if (charAt(i) == kButtonMark) {
      adjust = kMeasuredButtonAdjust;
      ++i;
    } else {
      adjust = GlyphAdjust(charAt(i) - kFirstGlyphCode, 0);
    }
    measured = std::trunc(measured + (cellWidth + static_cast<float>(adjust)) * DrawSizeX);
  }

  const float angle = -DrawRot;
  const float lineHeight = cellHeight * DrawSizeY;
  const float lift = (alignY - 1) * 0.5f;
  const float startX =
      x + SinDeg(angle - 90) * measured * 0.5f * alignX + SinDeg(angle) * lineHeight * lift;
  const float startY =
      y - CosDeg(angle - 90) * measured * 0.5f * alignX - CosDeg(angle) * lineHeight * lift;
  const float alongX = SinDeg(90 - DrawRot);
  const float alongY = -CosDeg(90 - DrawRot);
  const float downX = SinDeg(180 - DrawRot);
  const float downY = -CosDeg(180 - DrawRot);

  float penX = startX;
  float penY = startY;
  int line = 0;
  for (int i = 0; i < length; ++i) {
    const int code = charAt(i);
    ButtonGlyph glyph{code - kFirstGlyphCode, 0};
    if (code == kButtonMark) {
      if (i + 1 == length) break;  // a trailing mark names no button
      glyph = ButtonFor(charAt(++i));
      if (ControlStyle == kKeyboardControls) glyph.glyph += kKeyboardGlyphOffset;
    } else if (code == '\\' && i + 1 < length && charAt(i + 1) == 'n') {
      ++i;
      ++line;
      const float down = static_cast<float>(line) * lineHeight;
      // One cell in, where the leading space leaves the first line.
      const float in = cellWidth * DrawSizeX;
      penX = startX + down * downX + in * alongX;
      penY = startY + down * downY + in * alongY;
      continue;
    }
    if (glyph.glyph == kNullGlyph) continue;
    glyph.adjust = GlyphAdjust(glyph.glyph, glyph.adjust);
    if (glyph.glyph >= 1 && glyph.glyph <= kLastGlyph) {
      DrawImg(FontImage + fontOffset, penX, penY, glyph.glyph);
    }
    const float advance = (cellWidth + static_cast<float>(glyph.adjust)) * DrawSizeX;
    penX += alongX * advance;
    penY += alongY * advance;
  }
}

String PaddedNumber(int value, int digits, const String& pad) {
  String padded;
  for (int i = 0; i < digits + 1; ++i) padded += pad;
  padded += String::FromInt(value);
  return padded.Slice(padded.Length() - digits);
}
