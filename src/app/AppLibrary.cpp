// Anchors the application library so that it links before its first class exists.
namespace vantrel::app {
int appLibraryAnchor = 0;
}
