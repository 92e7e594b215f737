// CVantrelView: what a thumbnail drop or double-click asks of the view before it loads.

#include "viewer/CVantrelView.h"


void CVantrelView::StopCineBeforeLoad()
{
    // The loop reads the image and series records: it ends before they change
    StopCine();
}
