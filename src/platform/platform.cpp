// Anchor of the platform library; the stand-ins live in their own files beside it.
