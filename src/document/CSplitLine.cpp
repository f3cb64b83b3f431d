#include "CSplitLine.h"

#include "CGridMapping.h"

CSplitLine::CSplitLine() = default;

CSplitLine::~CSplitLine() = default;
