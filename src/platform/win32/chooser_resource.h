#pragma once

// The browser chooser's dialog template (res/linkvane.rc.in) and its controls, named alike in
// the resource script and in the code that runs the dialog.

#define LINKVANE_CHOOSER_DIALOG 100
#define LINKVANE_CHOOSER_LIST 101
#define LINKVANE_CHOOSER_OTHER 102
#define LINKVANE_CHOOSER_COMMAND 103
#define LINKVANE_CHOOSER_PROMPT 104
#define LINKVANE_CHOOSER_ALWAYS 105
#define LINKVANE_CHOOSER_COMMAND_LABEL 106
