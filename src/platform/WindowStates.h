#pragma once
// Qt's Wayland connection minimises a window from its own title bar without
// telling the widget: the protocol reports no minimised state back, and the
// widget's state stays normal. A minimise the compositor does on its own (a
// key of the Shell's) reaches no client at all. Elsewhere the state comes.

class QWidget;

// From now on a minimise from window's own title bar reaches it as a change
// of its state, as it does elsewhere.
void FollowOwnMinimising(QWidget* window);
