#pragma once
// A file's extended attributes: its POSIX ACL (system.posix_acl_access), the
// user's own (user.*) and the system's labels (security.*, trusted.*).

namespace sonivo {

// Gives the file open as `to` the attributes of the one open as `from`, after its
// permission bits are set: the ACL as it was, which also gives back the group's
// bits it masks. When the new file's group is not the old one's (`sameGroup`
// false) the ACL gives that group nothing. A new file takes its folder's default
// ACL: it loses it when the old one had none. Labels the system keeps the user
// from setting are left as the system gave them to the new file; any other
// attribute that cannot be read or set fails the copy, so that a save never
// loses one silently nor opens the file to more users than its ACL did.
// 0 or the errno of the failure.
int copyExtendedAttributes(int from, int to, bool sameGroup);

}  // namespace sonivo
