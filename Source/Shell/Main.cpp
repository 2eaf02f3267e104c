// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuorbelEditorApplication.h"

START_JUCE_APPLICATION (QuorbelEditorApplication)
