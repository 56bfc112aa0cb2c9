// Input device.
#include "input/input.h"

gxtkInput* bb_input_device = nullptr;

int bb_input_SetInputDevice(gxtkInput* device) {
  gc_assign(bb_input_device, device);
  return 0;
}

int gxtkInput::KeyDown(int key) { return key > 0 && key < 512 && (keyTable[key] & 0x100) ? 1 : 0; }
int gxtkInput::KeyHit(int key) { return key > 0 && key < 512 ? (keyTable[key] & 0xff) : 0; }
void gxtkInput::BeginUpdate() {}
void gxtkInput::EndUpdate() {
  for (int& k : keyTable) k &= 0x100;
  charCount = charReadPos = 0;
}
void gxtkInput::OnKeyDown(int key) {
  if (keyTable[key] & 0x100) return;
  keyTable[key] = (keyTable[key] | 0x100) + 1;
}
void gxtkInput::OnKeyUp(int key) { keyTable[key] &= ~0x100; }
void gxtkInput::PutChar(int ch) {
  if (charCount < 32) charBuffer[charCount++] = ch;
}
int TransKey(int key) { return key == 32 ? 32 : 0; }
int KeyToChar(int) { return 0; }
