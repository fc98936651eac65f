/*
 * The XML playlists, read through the system's own XML reader (XmlLite,
 * part of Windows since Vista):
 *
 *   WPL   <smil><body><seq><media src="..."/>        src: a path
 *   XSPF  <playlist><trackList><track><location>     a URI, relative ones
 *                                 <title>            percent-encoded too
 *
 * Entities are decoded by the reader; the encoding is the document's own
 * (UTF-8 when it names none). A document type is refused, so no entity
 * can expand, and the nesting and attributes are bounded (see
 * playlist_format.h). Each entry is taken by AddPlaylistEntry, under the
 * same rules as an M3U line.
 */
#ifndef WENDLE_STORAGE_XML_PLAYLIST_H
#define WENDLE_STORAGE_XML_PLAYLIST_H

#include <stddef.h>

#include "storage/playlist_format.h"

// Reads a WPL or XSPF playlist held in memory (any other format reads as
// NotThisFormat). read is cleared first. Entries before a fault in the XML
// are kept, and read->stop tells the fault and its line.
void ReadXmlPlaylist(PlaylistFormat format, const char* data, size_t size, PlaylistRead* read);

#endif  // WENDLE_STORAGE_XML_PLAYLIST_H
