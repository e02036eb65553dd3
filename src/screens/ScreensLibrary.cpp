// Anchors the screens library so that it links before its first screen exists.
namespace vantrel::screens {
int screensLibraryAnchor = 0;
}
