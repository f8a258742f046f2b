// Wivo.h - the public interface of the Wivo10u class library.
#pragma once

#include <afx.h>

#include "WivoModule.h"
