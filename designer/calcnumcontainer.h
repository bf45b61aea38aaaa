#pragma once

class CNumerology;
class CNumerologyPMatrix;

// The current person's and partner's reading objects, gathered by the main
// window for one call (opening the designer or rendering a template). Pages and
// items keep the pointer without owning it; they read the person's numbers and
// psycho-matrix only, and treat a missing object as "nothing calculated".
struct calcNumContainer
{
    CNumerology *person = nullptr;
    CNumerology *partner = nullptr;
    CNumerologyPMatrix *personMatrix = nullptr;
    CNumerologyPMatrix *partnerMatrix = nullptr;
};
