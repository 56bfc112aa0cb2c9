// The input device: key states for keyboard, mouse and joystick under one
// numbering, the typed-character queue, the mouse position and two sticks.
#pragma once

#include "runtime/object.h"

// The framework's key codes, one numbering for every source: keys by their
// Windows virtual-key values, mouse buttons from 1, joystick 0's buttons from
// 256 (in the gamepad layout: A B X Y, bumpers, Back, Start, then the d-pad
// left, up, right, down) and touch contacts from 384.
enum : int {
  kKeyMouseLeft = 1,
  kKeyMouseRight = 2,
  kKeyMouseMiddle = 3,
  kKeyBackspace = 8,
  kKeyTab = 9,
  kKeyEnter = 13,
  kKeyShift = 16,
  kKeyControl = 17,
  kKeyEscape = 27,
  kKeySpace = 32,
  kKeyPageUp = 33,
  kKeyPageDown = 34,
  kKeyEnd = 35,
  kKeyHome = 36,
  kKeyLeft = 37,
  kKeyUp = 38,
  kKeyRight = 39,
  kKeyDown = 40,
  kKeyInsert = 45,
  kKeyDelete = 46,
  kKeyF1 = 112,  // F1..F12 are 112..123
  kKeyLeftShift = 160,
  kKeyRightShift = 161,
  kKeyLeftControl = 162,
  kKeyRightControl = 163,
  kKeyJoy0 = 256,
  kKeyTouch0 = 384,
};

class gxtkInput : public gxtkObject {
 public:
  static const int kKeyCount = 512;
  static const int kDownBit = 0x100;     // set in a key's word while it is down
  static const int kHitMask = 0xff;      // presses since the last EndUpdate
  static const int kCharQueueSize = 32;
  static const int kJoyButtons = 32;     // joystick buttons that have key codes
  static const int kJoyAxes = 6;

  int keyTable[kKeyCount];
  int charBuffer[kCharQueueSize];
  int charCount;
  int charReadPos;
  float pointerX, pointerY;
  float stickAxes[kJoyAxes];  // stick 0 x, y, z, then stick 1 x, y, z

  gxtkInput();

  virtual int SetKeyboardEnabled(int enabled);
  virtual int KeyDown(int key);
  virtual int KeyHit(int key);
  virtual int GetChar();
  virtual float MouseX();
  virtual float MouseY();
  virtual float JoyX(int index);
  virtual float JoyY(int index);
  virtual float JoyZ(int index);
  virtual float TouchX(int index);
  virtual float TouchY(int index);
  virtual float AccelX();
  virtual float AccelY();
  virtual float AccelZ();

  // Polls the mouse and joystick 0; called before each application update.
  void BeginUpdate();
  // Clears press counts and the character queue; called after each update.
  void EndUpdate();
  // Window-system events, delivered during the event poll.
  void OnKeyDown(int key);
  void OnKeyUp(int key);
  void PutChar(int ch);

 private:
  // Table slot of a queried key (touch 0 is the left mouse button), or -1.
  static int QuerySlot(int key);
  void PollJoystick();
};

// Key code of the window layer (classic numbering) to the framework's key
// code; 0 for keys the framework does not know.
int TransKey(int key);
// Character queued when a key goes down, for keys that type no character of
// their own through the character callback; 0 for none.
int KeyToChar(int key);

// Flag bit on queued characters of non-printing keys (arrows, Home, ...).
const int kNonPrintingCharFlag = 0x10000;

// The framework's input module.
extern gxtkInput* bb_input_device;
int bb_input_SetInputDevice(gxtkInput* device);
int bb_input_KeyDown(int key);
int bb_input_KeyHit(int key);
int bb_input_GetChar();
int bb_input_EnableKeyboard();
int bb_input_DisableKeyboard();
float bb_input_MouseX();
float bb_input_MouseY();
int bb_input_MouseDown(int button);
int bb_input_MouseHit(int button);
int bb_input_TouchDown(int index);
int bb_input_TouchHit(int index);
float bb_input_TouchX(int index);
float bb_input_TouchY(int index);
float bb_input_JoyX(int index, int unit);
float bb_input_JoyY(int index, int unit);
float bb_input_JoyZ(int index, int unit);
int bb_input_JoyDown(int button, int unit);
int bb_input_JoyHit(int button, int unit);
float bb_input_AccelX();
float bb_input_AccelY();
float bb_input_AccelZ();
