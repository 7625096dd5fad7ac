// The framework's callbacks, answered by handing the screens the components.
#include "game/my_app.h"
#include "game/core/globals.h"

// Fitted to the design size until a device is known, so that an update run before any render
// mirrors the pointer with a real scale.
MyApp::MyApp() {
  frame.FitScreen(kDesignWidth, kDesignHeight);
}

MyApp::~MyApp() {
  frame.DiscardImages();
  audio.DiscardSounds();
}

void kvInit() {
  InitGameGlobals();
}

void MyApp::OnRender() {
  frame.Render(deviceWidth, deviceHeight);
}

bool MyApp::FrameUnchanged() {
  return frame.StillShown(deviceWidth, deviceHeight);
}

void MyApp::OnCreate() {
  StartScreens(platform, frame, audio, controls, world, play, screens, menu, pause, save, report);
}

void MyApp::OnUpdate() {
  UpdateScreens(platform, frame, io, audio, controls, world, play, level, screens, menu, pause,
                save, report);
}

void MyApp::OnSuspend() {
  ComeBackFromAway(frame, controls, screens, pause);
  SetUpdateRate(kSuspendedUpdateRate);
  SaveProgress(play, screens, save);
}

void MyApp::OnResume() {
  ComeBackFromAway(frame, controls, screens, pause);
  SetUpdateRate(kUpdateRate);
}
