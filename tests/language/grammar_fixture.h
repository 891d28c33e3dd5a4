// The grammar tests' fixture: whole command lines against the real tree.
#pragma once

#include "parse_fixture.h"

class GrammarTest : public ParseTest {};
