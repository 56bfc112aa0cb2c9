// The input device: key states, the character queue, mouse and joystick.
#pragma once

#include "runtime/object.h"

class gxtkInput : public gxtkObject {
 public:
  int keyTable[512] = {};
  int charBuffer[32] = {};
  int charCount = 0;
  int charReadPos = 0;
  float pointerX = 0, pointerY = 0;
  float stickAxes[6] = {};

  virtual int KeyDown(int key);
  virtual int KeyHit(int key);

  void BeginUpdate();
  void EndUpdate();
  void OnKeyDown(int key);
  void OnKeyUp(int key);
  void PutChar(int ch);
};

int TransKey(int key);
int KeyToChar(int key);

extern gxtkInput* bb_input_device;
int bb_input_SetInputDevice(gxtkInput* device);
