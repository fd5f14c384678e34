// The whole platform interface of the device programs, for files that use several of its areas.
#pragma once

#include "platform/base.h"
#include "platform/drawing.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/processes.h"
#include "platform/shell.h"
#include "platform/windowing.h"
