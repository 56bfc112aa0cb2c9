// The GL and AL entry points the framework refers to, so that a program
// without a screen or sound device links. A headless program does not
// draw or play (bb_Vaultwick_Headless); should anything call them, they do
// nothing and report no error.
#include <AL/al.h>
#include <GL/gl.h>

extern "C" {

void glViewport(GLint, GLint, GLsizei, GLsizei) {}
void glMatrixMode(GLenum) {}
void glLoadIdentity() {}
void glOrtho(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble) {}
void glEnableClientState(GLenum) {}
void glDisableClientState(GLenum) {}
void glVertexPointer(GLint, GLenum, GLsizei, const GLvoid*) {}
void glTexCoordPointer(GLint, GLenum, GLsizei, const GLvoid*) {}
void glColorPointer(GLint, GLenum, GLsizei, const GLvoid*) {}
void glEnable(GLenum) {}
void glDisable(GLenum) {}
void glBlendFunc(GLenum, GLenum) {}
void glScissor(GLint, GLint, GLsizei, GLsizei) {}
void glClearColor(GLclampf, GLclampf, GLclampf, GLclampf) {}
void glClear(GLbitfield) {}
void glDrawArrays(GLenum, GLint, GLsizei) {}
void glDrawElements(GLenum, GLsizei, GLenum, const GLvoid*) {}
void glGenTextures(GLsizei n, GLuint* names) {
  for (GLsizei i = 0; i < n; ++i) names[i] = 0;
}
void glDeleteTextures(GLsizei, const GLuint*) {}
void glBindTexture(GLenum, GLuint) {}
void glTexParameteri(GLenum, GLenum, GLint) {}
void glPixelStorei(GLenum, GLint) {}
void glTexImage2D(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const GLvoid*) {}
void glTexSubImage2D(GLenum, GLint, GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, const GLvoid*) {}
void glReadPixels(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, GLvoid*) {}
GLenum glGetError() { return GL_NO_ERROR; }

ALenum alGetError(void) { return AL_NO_ERROR; }
void alDistanceModel(ALenum) {}
void alGenSources(ALsizei n, ALuint* names) {
  for (ALsizei i = 0; i < n; ++i) names[i] = 0;
}
void alDeleteSources(ALsizei, const ALuint*) {}
void alGenBuffers(ALsizei n, ALuint* names) {
  for (ALsizei i = 0; i < n; ++i) names[i] = 0;
}
void alDeleteBuffers(ALsizei, const ALuint*) {}
void alBufferData(ALuint, ALenum, const ALvoid*, ALsizei, ALsizei) {}
void alSourcei(ALuint, ALenum, ALint) {}
void alSourcef(ALuint, ALenum, ALfloat) {}
void alSource3f(ALuint, ALenum, ALfloat, ALfloat, ALfloat) {}
void alGetSourcei(ALuint, ALenum, ALint* value) { *value = AL_STOPPED; }
void alSourceQueueBuffers(ALuint, ALsizei, const ALuint*) {}
// Nothing queued is ever played, so nothing comes back.
void alSourceUnqueueBuffers(ALuint, ALsizei n, ALuint* names) {
  for (ALsizei i = 0; i < n; ++i) names[i] = 0;
}
void alSourcePlay(ALuint) {}
void alSourcePause(ALuint) {}
void alSourceStop(ALuint) {}

}  // extern "C"
