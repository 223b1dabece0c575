// SPDX-License-Identifier: GPL-3.0-or-later
// The old path of text/Exception.h, kept only while the transfer planner's files still include it; remove it once none
// do.
#pragma once

#include "text/Exception.h"
