// Resource ids of the Quorvel program: its name, the main dialog with its
// controls, and the program icon.
#pragma once

#define IDS_APP_NAME 100

#define IDD_MAIN_DIALOG 102

#define IDI_QUORVEL 201

// Controls of the main dialog. 205 to 217 need a graph.
#define IDC_LOAD 201
#define IDC_FILE 202
#define IDC_BUILD_GRAPH 203
#define IDC_SHOW_GRAPH 204
#define IDC_THREADS 205
#define IDC_THREADS_SPIN 206
#define IDC_PASS_THROUGH 207
#define IDC_MAINTAIN_ASPECT_RATIO 208
#define IDC_FORCE_CHROMA_FORMAT 209
#define IDC_POSITION 210
#define IDC_SEEK_BAR 211
#define IDC_PREV_FRAME 212
#define IDC_CURRENT_FRAME 213
#define IDC_NEXT_FRAME 214
#define IDC_PLAY 215
#define IDC_PAUSE 216
#define IDC_STOP 217

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
