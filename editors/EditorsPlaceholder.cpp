// Replaced by the canvas widgets.
namespace korvane {}
