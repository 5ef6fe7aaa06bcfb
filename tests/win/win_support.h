// What every Windows test program of ours includes.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>
