// The class library stand-in, everything the system's code includes.
#pragma once

#include "platform/classlib/cfile.h"
#include "platform/classlib/cstring.h"
#include "platform/classlib/msgmap.h"
#include "platform/classlib/wnd.h"
#include "platform/storage/storage.h"
#include "platform/uiservices/ui_services.h"
#include "platform/wintypes.h"
