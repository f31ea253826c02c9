// Pooled search hypotheses and the texts read back from a chain of them.
//
// The engines make hypotheses by the hundred thousand, so they come from one pool
// shared by every engine: blocks of preconstructed records on a free list, handed out
// and given back in constant time (last freed, first reused). A record holds one
// reference to its parent and one to its node; when its last reference goes, it drops
// both and returns to the pool. The pool grows by a block when it runs dry, up to a
// fixed ceiling, after which TakeHypothesis refuses (nullptr) and the search simply
// does without that extension.
#pragma once
#include <cstddef>
#include <string>

#include "ClusterBound.h"
#include "Hypothesis.h"

// A fresh hypothesis with one reference for the caller; nullptr when the pool is spent.
Hypothesis* TakeHypothesis(Hypothesis* parent, Language* node, int32_t end);
// The pooled hypotheses now held by someone.
size_t HypothesesInUse();

// The letters of every node after the start hypothesis, in order; at most limit
// characters.
std::wstring PathText(Hypothesis* h, size_t limit = 1023);
// " b0 b1 ... bn": the boundary (frame) of each end along the chain from the start
// to h, each after a blank; cut before a number that would pass limit characters.
std::string BoundaryList(Hypothesis* h, ClusterBound* cb, size_t limit = 1023);
