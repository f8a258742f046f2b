// Resource and command ids of the frame tests.
#pragma once

#define IDR_TESTFRAME   100
#define ID_CMD_VIEW     0x8001  // handled by the view, the frame and the application
#define ID_CMD_FRAME    0x8002  // by the frame and the application
#define ID_CMD_APP      0x8003  // by the application
#define ID_CMD_NONE     0x8004  // by nobody
#define ID_CMD_CHECK    0x8005  // the frame's update handler checks it
#define ID_CMD_OFF      0x8006  // the frame's update handler disables it (the application handles it)
