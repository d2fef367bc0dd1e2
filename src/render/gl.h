#pragma once
// The GL headers, in one place, with the extension enumerations the game uses.
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
