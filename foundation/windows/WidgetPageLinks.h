#pragma once

// Routes every link the user clicks in any page (a question, an explanation,
// a scenario, the about and update pages) through the link rules of the
// exam's web links: what they allow opens on the desktop through the link
// opener in force, what they refuse is said in the program's message box
// over the page's window.
void installPageLinks();
