// SPDX-License-Identifier: GPL-3.0-or-later
// The old path of text/Gbk.h, kept only while the transfer planner's files still include it; remove it once none do.
#pragma once

#include "text/Gbk.h"
