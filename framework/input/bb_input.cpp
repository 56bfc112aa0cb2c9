// The framework's input module: a thin layer over the device that maps mouse
// buttons, touches and joystick buttons onto key codes.
#include "input/input.h"

gxtkInput* bb_input_device = nullptr;

namespace {

const int kUnitStride = 16;

}  // namespace

int bb_input_SetInputDevice(gxtkInput* device) {
  gc_assign(bb_input_device, device);
  return 0;
}

int bb_input_KeyDown(int key) { return bb_input_device->KeyDown(key); }
int bb_input_KeyHit(int key) { return bb_input_device->KeyHit(key); }
int bb_input_GetChar() { return bb_input_device->GetChar(); }
int bb_input_EnableKeyboard() { return bb_input_device->SetKeyboardEnabled(1); }
int bb_input_DisableKeyboard() { return bb_input_device->SetKeyboardEnabled(0); }

float bb_input_MouseX() { return bb_input_device->MouseX(); }
float bb_input_MouseY() { return bb_input_device->MouseY(); }
int bb_input_MouseDown(int button) { return bb_input_device->KeyDown(1 + button); }
int bb_input_MouseHit(int button) { return bb_input_device->KeyHit(1 + button); }

int bb_input_TouchDown(int index) { return bb_input_device->KeyDown(kKeyTouch0 + index); }
int bb_input_TouchHit(int index) { return bb_input_device->KeyHit(kKeyTouch0 + index); }
float bb_input_TouchX(int index) { return bb_input_device->TouchX(index); }
float bb_input_TouchY(int index) { return bb_input_device->TouchY(index); }

// Only unit 0 has sticks and buttons; other units address nothing.
float bb_input_JoyX(int index, int unit) { return bb_input_device->JoyX(index | unit * kUnitStride); }
float bb_input_JoyY(int index, int unit) { return bb_input_device->JoyY(index | unit * kUnitStride); }
float bb_input_JoyZ(int index, int unit) { return bb_input_device->JoyZ(index | unit * kUnitStride); }
int bb_input_JoyDown(int button, int unit) {
  return bb_input_device->KeyDown(kKeyJoy0 | unit * kUnitStride | button);
}
int bb_input_JoyHit(int button, int unit) {
  return bb_input_device->KeyHit(kKeyJoy0 | unit * kUnitStride | button);
}

float bb_input_AccelX() { return bb_input_device->AccelX(); }
float bb_input_AccelY() { return bb_input_device->AccelY(); }
float bb_input_AccelZ() { return bb_input_device->AccelZ(); }
