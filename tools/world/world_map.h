// Text renderings of a built world for the world inspection tool.
#pragma once

#include <string>

class MyApp;

// Every value generation decides: the caps, the player record and every room's tiles.
std::string DescribeWorld(const MyApp& app);
// The level's rooms as text, one character per tile, with a legend.
std::string DrawWorldMap(const MyApp& app);
