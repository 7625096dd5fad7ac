// The draw list: records appended during the update, replayed by the render.
#include "game/my_app.h"

namespace {
constexpr int kRecordFloats = 15;
constexpr int kLastRecordStart = kDrawListFloats - kRecordFloats - 1;
}  // namespace

void MyApp::OnRender() {}

void MyApp::ResetDraw() {
  DrawSizeX = DrawSizeY = 1.0f;
  DrawRot = 0;
  DrawRed = DrawGreen = DrawBlue = 255.0f;
  DrawAlpha = 1.0f;
  DrawBlend = 1;
}

void MyApp::Alpha(float alpha) {
  DrawAlpha = alpha;
}

void MyApp::DrawImg(int slot, float x, float y, int frame) {
  if (DrawCount > kLastRecordStart) return;
  float* record = &DrawList[DrawCount];
  record[0] = static_cast<float>(slot);
  record[1] = x;
  record[2] = y;
  record[3] = DrawRot;
  record[4] = DrawSizeX;
  record[5] = DrawSizeY;
  record[6] = static_cast<float>(frame);
  record[7] = DrawAlpha;
  record[10] = DrawRed;
  record[11] = DrawGreen;
  record[12] = DrawBlue;
  record[13] = static_cast<float>(DrawBlend);
  DrawCount += kRecordFloats;
}

void MyApp::Text(float, float, const String&, float, float, int) {}
