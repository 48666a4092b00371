// The demonstration: scene, handlers, keys and frame drawing, on top of the shell and the toolkit.
#pragma once

#include "GLWindow.h"
