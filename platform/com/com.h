#pragma once
// Everything of the COM runtime in one include.
#include "com/bstr.h"
#include "com/comptr.h"
#include "com/comtypes.h"
#include "com/connectionpoint.h"
#include "com/dictionary.h"
#include "com/dispatch.h"
#include "com/guid.h"
#include "com/hresult.h"
#include "com/registration.h"
#include "com/runtime.h"
#include "com/unknown.h"
#include "com/variant.h"
