// COM and OLE automation together, as a Windows program includes them.
#pragma once

#include "objbase.h"
#include "oleauto.h"
