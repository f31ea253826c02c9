// The mouse pointer's shape. Controls ask for a shape by its Windows cursor id; with the
// video system running the matching SDL system cursor is shown, without it (headless
// runs, tests) only the request is remembered, so callers never need to check.
#pragma once

constexpr int IDC_ARROW = 32512;
constexpr int IDC_SIZENS = 32645;

// A shape as LxLoadCursor hands it out; shared, never freed by the caller.
struct LxCursor {
    int id;
};

// The cursor of id (IDC_ARROW or IDC_SIZENS; anything else gives the arrow).
const LxCursor* LxLoadCursor(int id);
// Shows the cursor (null: the arrow) and returns the one shown before.
const LxCursor* LxSetCursor(const LxCursor* cursor);
// The cursor last asked for; the arrow before any request.
const LxCursor* LxGetCursor();
