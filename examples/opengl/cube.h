// The OpenGL example's shape: a cube whose corners carry the colours of the RGB cube, turned by
// a whole number of steps, on a dark ground. The benchmark renders the same frames.
#ifndef VORLA_EXAMPLE_CUBE_H
#define VORLA_EXAMPLE_CUBE_H

#include <vorla/VorlaLib.h> // the system header, which on Windows must come before GL/gl.h

#include <GL/gl.h>

namespace cube {

// Degrees the cube turns per frame; the picture of frame n depends on n alone.
constexpr int DegreesPerFrame = 4;

// The turn about the vertical axis in degrees, 0 to 359: reduced in whole numbers, so a long run
// does not lose float precision.
inline int Turn(long long frame) { return static_cast<int>((frame % 360) * DegreesPerFrame % 360); }

// Renders frame n into the current context's viewport of width x height pixels.
inline void Render(long long frame, int width, int height)
{
    const int turn = Turn(frame);
    const int tilt = static_cast<int>((frame % 720) * DegreesPerFrame / 2 % 360);

    glViewport(0, 0, width, height);
    glClearColor(0.08f, 0.09f, 0.13f, 1.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glShadeModel(GL_SMOOTH);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double aspect = height > 0 ? static_cast<double>(width) / height : 1.0;
    glFrustum(-0.5 * aspect, 0.5 * aspect, -0.5, 0.5, 1.0, 20.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -5.0f);
    glRotatef(25.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(static_cast<float>(turn), 0.0f, 1.0f, 0.0f);
    glRotatef(static_cast<float>(tilt), 1.0f, 0.0f, 1.0f);

    // Corner i sits at (x, y, z) = bits of i mapped to -1 or +1, coloured by the same bits.
    static const int faces[6][4] = {{0, 1, 3, 2}, {4, 6, 7, 5}, {0, 4, 5, 1}, {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 5, 7, 3}};
    glBegin(GL_QUADS);
    for (const auto &face : faces)
        for (int corner : face) {
            const float x = (corner & 4) ? 1.0f : 0.0f, y = (corner & 2) ? 1.0f : 0.0f, z = (corner & 1) ? 1.0f : 0.0f;
            glColor3f(0.15f + 0.85f * x, 0.15f + 0.85f * y, 0.15f + 0.85f * z);
            glVertex3f(2.0f * x - 1.0f, 2.0f * y - 1.0f, 2.0f * z - 1.0f);
        }
    glEnd();
}

} // namespace cube

#endif
