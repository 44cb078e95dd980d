// The forests both sides of the side-by-side benchmark work on, built alike on each side.
#pragma once

#include <QString>
#include <cstddef>
#include <vector>

class OursTree;
class PeerTree;
struct PeerNode;

constexpr int kForestContainers = 1000;
constexpr int kForestLeaves = 999;
constexpr std::size_t kForestRows = 1 + kForestContainers * (1 + kForestLeaves); // 1,000,001
constexpr std::size_t kLargeContainer = 100000;

// A top context with 1,000 open containers of 999 leaves each: 1,000,001 loaded rows.
void BuildMillionRows(OursTree &tree);
void BuildMillionRows(PeerTree &tree);

// A top context "Top" whose only child, the closed container "Big" in row 1, has 100,000
// children that arrive in random name order.
void BuildLargeContainer(OursTree &tree);
PeerNode &BuildLargeContainer(PeerTree &tree); // gives Big
// Big's children in the order the server delivers them.
std::vector<QString> LargeContainerNames();
