-- The database supplied with the program. The program never creates a table:
-- it expects both tables here. Flags, positions and list indexes are numeric so that
-- a row made by "INSERT INTO CVU_DATA(wPosLeft, wPosTop) VALUES(0, 0);" loads as
-- zeros and empty texts.
CREATE TABLE CVU_DATA (
  user_hash        TEXT    NOT NULL DEFAULT '',
  user_id          TEXT    NOT NULL DEFAULT '',
  user_name        TEXT    NOT NULL DEFAULT '',
  user_secure      TEXT    NOT NULL DEFAULT '',
  wPosTop          INTEGER NOT NULL DEFAULT 0,
  wPosLeft         INTEGER NOT NULL DEFAULT 0,
  mYv_1            TEXT    NOT NULL DEFAULT '',
  mYv_2            TEXT    NOT NULL DEFAULT '',
  mYv_3            TEXT    NOT NULL DEFAULT '',
  confirm_delete   BOOLEAN NOT NULL DEFAULT 0,
  title_info       BOOLEAN NOT NULL DEFAULT 0,
  auto_upload      BOOLEAN NOT NULL DEFAULT 0,
  start_autoupload BOOLEAN NOT NULL DEFAULT 0,
  send_anonymous   BOOLEAN NOT NULL DEFAULT 0,
  auto_action      INTEGER NOT NULL DEFAULT 0,
  link_mycode_id   INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE CVU_HISTORY (
  image_id        TEXT,
  folder_id       TEXT,
  image_name      TEXT,
  image_th        TEXT,
  base_file       TEXT,
  base_filefolder TEXT,
  upload_date     TEXT
);
