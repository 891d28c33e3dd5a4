// The command language: the tree of keyword tables from the root table
// Corvane_kwt down, walked by ss_parse.
#pragma once

#include "corvane_parse.h"

extern const _kw_desc Corvane_kwt[];
extern const _kw_desc kwt_file[];
extern const _kw_desc kwt_set[];
extern const _kw_desc kwt_set_options[];
extern const _kw_desc kwt_set_error_options[];
extern const _kw_desc kwt_show[];
