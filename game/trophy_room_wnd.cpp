// ZTrophyRoomWnd's class record.
#include "game/trophy_room_wnd.h"

Z_IMPLEMENT_CLASS(ZTrophyRoomWnd, ZWnd)
